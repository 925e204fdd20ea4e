#pragma once

#include <QWidget>

// Stands in for the start screen until the real one is built.
class StartPlaceholder : public QWidget
{
    Q_OBJECT
public:
    explicit StartPlaceholder(QWidget *parent = nullptr);
};
