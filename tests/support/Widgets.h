#pragma once

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
