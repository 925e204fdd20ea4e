#pragma once

#include <QLabel>

class QFrame;

// imLogo: the program's logo; a click opens the web address its tool tip holds.
class LogoLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LogoLabel(QWidget *parent = nullptr);

    // faImage with an imLogo inside, at left, top (twips) of parent.
    static QFrame *addFramed(QWidget *parent, int left, int top);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
