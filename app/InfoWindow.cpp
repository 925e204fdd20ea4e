#include "InfoWindow.h"

#include "app/LogoLabel.h"
#include "app/ModuleFacts.h"
#include "app/ShadowHeading.h"
#include "common/Twips.h"
#include "engine/RuntimeError.h"
#include "present/ScreenFit.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

constexpr int windowWidth = 7200;
constexpr int windowHeight = 7680;

QLabel *addLabel(QWidget *parent, const QString &name, int top)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(twips(120), twips(top), twips(windowWidth - 240), twips(300));
    return label;
}

} // namespace

InfoWindow::InfoWindow(const QuestionBank &bank, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frInfo"));
    setModal(true);

    LogoLabel::addFramed(this, 120, 120)
        ->findChild<QLabel *>()
        ->setObjectName(QStringLiteral("imgLogo"));
    // The front label stands 20 twips right of and below its shadow.
    ShadowHeading::add(this, 1440, 120, windowWidth - 1560, 1200, 14);
    addLabel(this, QStringLiteral("lbTotalQuestions"), 1440);
    addLabel(this, QStringLiteral("lbDBVersion"), 1740);
    addLabel(this, QStringLiteral("lbObjective"), 2100);

    auto *lvObjective = new QTreeWidget(this);
    lvObjective->setObjectName(QStringLiteral("lvObjective"));
    lvObjective->setToolTip(QStringLiteral("Test objectives"));
    lvObjective->setRootIsDecorated(false);
    lvObjective->setHeaderLabels(
        {QStringLiteral("#"), QStringLiteral("Objective Name"), QStringLiteral("Questions")});
    lvObjective->header()->setStretchLastSection(false);
    lvObjective->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    lvObjective->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    lvObjective->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    lvObjective->setGeometry(twips(120), twips(2400), twips(windowWidth - 240), twips(2640));

    auto *txInfo = new QPlainTextEdit(this);
    txInfo->setObjectName(QStringLiteral("txInfo"));
    txInfo->setToolTip(QStringLiteral("Additional Info"));
    txInfo->setReadOnly(true);
    txInfo->setGeometry(twips(120), twips(5160), twips(windowWidth - 240), twips(1800));

    auto *cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setGeometry(twips(windowWidth - 1920), twips(7080), twips(1800), twips(450));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    LoadModuleInfo(bank);
    setFixedSizeWithinScreen(this, QSize(twips(windowWidth), twips(windowHeight)));
}

void InfoWindow::LoadModuleInfo(const QuestionBank &bank)
{
    guarded(QStringLiteral("Procedure Name: LoadModuleInfo"), [&] {
        const ModuleInfoTexts texts = moduleInfoTexts(bank);
        setWindowTitle(texts.caption);
        for (const char *heading : {"lbTestF", "lbTestB"})
            findChild<QLabel *>(QLatin1String(heading))->setText(texts.heading);
        findChild<QLabel *>(QStringLiteral("lbTotalQuestions"))->setText(texts.totalQuestions);
        findChild<QLabel *>(QStringLiteral("lbDBVersion"))->setText(texts.dbVersion);
        findChild<QLabel *>(QStringLiteral("lbObjective"))->setText(texts.objectiveLine);
        auto *lvObjective = findChild<QTreeWidget *>(QStringLiteral("lvObjective"));
        for (const QStringList &row : texts.objectiveRows)
            new QTreeWidgetItem(lvObjective, row);
        findChild<QPlainTextEdit *>(QStringLiteral("txInfo"))->setPlainText(texts.info);
    });
}
