#pragma once

#include <QPushButton>
#include <QTest>
#include <QWidget>

// Element index of a control array (lbChc, txTI, lbDes, ...) within a window.
template <typename Control> Control *element(QWidget *window, const QString &name, int index)
{
    for (Control *control : window->findChildren<Control *>(name)) {
        if (control->property("index").toInt() == index)
            return control;
    }
    return nullptr;
}

// Clicks a window's push button, which must be there and enabled.
inline void click(QWidget *window, const QString &name)
{
    auto *button = window->findChild<QPushButton *>(name);
    QVERIFY2(button && button->isEnabled(), qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}
