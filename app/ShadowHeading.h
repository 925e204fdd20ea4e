#pragma once

#include <QString>

class QLabel;
class QWidget;

// A heading drawn twice: lbTestB in grey behind, lbTestF in navy on top and a little to
// the right and down, so the text casts a shadow. Both always carry the same text.
struct ShadowHeading
{
    QLabel *lbTestF = nullptr;
    QLabel *lbTestB = nullptr;

    // Created at left, top, width, height (twips) of parent, in a bold font of pointSize.
    static ShadowHeading add(QWidget *parent, int left, int top, int width, int height,
                             int pointSize);
    void setText(const QString &text);
};
