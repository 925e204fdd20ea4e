#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
struct TestState;

// frGoto: asks for an item number and shows that item in the test window.
class GotoWindow : public QDialog
{
    Q_OBJECT

public:
    // goToItem shows an item (the test window's GoToItem).
    GotoWindow(TestState &state, std::function<void(int)> goToItem, QWidget *parent = nullptr);

    // Cancel leaves the test as it was, even after a number typed here was taken.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Takes the typed number as curItem, or refuses it with a box and restores curItem.
    bool acceptTypedItem();
    void step(int delta);
    void go();

    TestState &m_state;
    std::function<void(int)> m_goToItem;
    QLineEdit *m_txCurRec = nullptr;
    QPushButton *m_cmCancel = nullptr;
    QLabel *m_lbQues = nullptr;
    int m_itemAtOpen = 0;
};
