#include "ShadowHeading.h"

#include "common/Twips.h"

#include <QLabel>

namespace {

constexpr int shadowOffset = 20;

QLabel *addHeadingLabel(QWidget *parent, const QString &name, const QColor &colour, int pointSize)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(pointSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

ShadowHeading ShadowHeading::add(QWidget *parent, int left, int top, int width, int height,
                                 int pointSize)
{
    ShadowHeading heading;
    heading.lbTestB =
        addHeadingLabel(parent, QStringLiteral("lbTestB"), QColor(192, 192, 192), pointSize);
    heading.lbTestB->setGeometry(twips(left), twips(top), twips(width), twips(height));
    heading.lbTestF =
        addHeadingLabel(parent, QStringLiteral("lbTestF"), QColor(0, 0, 128), pointSize);
    heading.lbTestF->setGeometry(twips(left + shadowOffset), twips(top + shadowOffset),
                                 twips(width), twips(height));
    return heading;
}

void ShadowHeading::setText(const QString &text)
{
    lbTestF->setText(text);
    lbTestB->setText(text);
}
