#include "AboutWindow.h"

#include "app/ModuleFacts.h"
#include "present/Logo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutWindow::AboutWindow(const QuestionBank &bank, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frAbout"));
    setWindowTitle(QStringLiteral("About Quendra"));
    setModal(true);

    auto *logo = new QLabel;
    logo->setTextFormat(Qt::PlainText);
    logo->setObjectName(QStringLiteral("imLogo"));
    logo->setPixmap(quendraLogo(64));
    logo->setAlignment(Qt::AlignTop);

    auto *lines = new QVBoxLayout;
    auto *title = new QLabel;
    title->setObjectName(QStringLiteral("lbTitle"));
    title->setTextFormat(Qt::PlainText);
    title->setText(QStringLiteral("Quendra"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 6);
    title->setFont(titleFont);
    lines->addWidget(title);
    const QStringList texts = aboutLines(bank);
    for (int line = 0; line < texts.size(); ++line) {
        auto *label = new QLabel;
        label->setObjectName(QStringLiteral("lbAbout%1").arg(line + 1));
        // The database version comes from the module: data, never markup.
        label->setTextFormat(Qt::PlainText);
        label->setText(texts[line]);
        label->setWordWrap(true);
        lines->addWidget(label);
    }

    lines->addStretch();
    auto *cmdOK = new QPushButton(QStringLiteral("&OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    lines->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(logo);
    layout->addLayout(lines);
    setFixedWidth(480);
}
