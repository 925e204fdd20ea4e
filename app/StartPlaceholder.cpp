#include "StartPlaceholder.h"

#include <QLabel>
#include <QVBoxLayout>

StartPlaceholder::StartPlaceholder(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frStart"));
    setAutoFillBackground(true);
    resize(600, 400);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("Main Menu"), this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
}
