#include "HistoryWindow.h"

#include "app/ScoreChart.h"
#include "common/MessageBoxes.h"
#include "history/HistoryStore.h"
#include "history/WeakAreas.h"
#include "moduledb/QuestionBank.h"
#include "present/ReportDocument.h"
#include "present/ScoreGrade.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum AttemptColumn {
    DateColumn,
    ModeColumn,
    QuestionsColumn,
    ScoreColumn,
    ResultColumn,
    TimeColumn
};

// Sorts by the value behind the text: dates, scores and durations, not their spelling.
class AttemptRow : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return data(column, Qt::UserRole).toLongLong() <
               other.data(column, Qt::UserRole).toLongLong();
    }
};

QString durationText(qint64 seconds)
{
    const QString minutesAndSeconds = QStringLiteral("%1:%2")
                                          .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                          .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return seconds >= 3600 ? QString::number(seconds / 3600) + QLatin1Char(':') + minutesAndSeconds
                           : minutesAndSeconds;
}

QTreeWidget *newList(QWidget *parent, const QString &name, const QStringList &headings)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->setHeaderLabels(headings);
    return list;
}

} // namespace

HistoryWindow::HistoryWindow(const QuestionBank &bank, HistoryStore &store,
                             const QString &candidate, bool startAllowed, QWidget *parent)
    : QDialog(parent), m_bank(bank), m_store(store), m_candidate(candidate)
{
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("Test History"));
    resize(760, 600);
    auto *layout = new QVBoxLayout(this);

    auto *title = new QLabel(this);
    title->setObjectName(QStringLiteral("lbExam"));
    title->setTextFormat(Qt::PlainText);
    title->setText(QStringLiteral("Exam # ") + bank.testInfo.examCode + QStringLiteral(", ") +
                   bank.testInfo.examTitle);
    layout->addWidget(title);

    m_lvAttempts =
        newList(this, QStringLiteral("lvAttempts"),
                {QStringLiteral("Date"), QStringLiteral("Mode"), QStringLiteral("Questions"),
                 QStringLiteral("Score"), QStringLiteral("Result"), QStringLiteral("Time Used")});
    m_lvAttempts->setSortingEnabled(true);
    m_lvAttempts->header()->setSectionResizeMode(DateColumn, QHeaderView::Stretch);
    m_lvAttempts->header()->setStretchLastSection(false);
    layout->addWidget(m_lvAttempts, 3);

    m_chart = new ScoreChart(this);
    m_chart->setObjectName(QStringLiteral("piScores"));
    layout->addWidget(m_chart, 2);

    auto *trendsLabel = new QLabel(
        QStringLiteral("Objectives over the last %1 attempts, weakest first").arg(recentAttempts),
        this);
    layout->addWidget(trendsLabel);
    m_lvTrends = newList(
        this, QStringLiteral("lvTrends"),
        {QStringLiteral("Objective Name"), QStringLiteral("Attempts"), QStringLiteral("Overall")});
    m_lvTrends->setSelectionMode(QAbstractItemView::NoSelection);
    m_lvTrends->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_lvTrends->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_lvTrends->header()->setStretchLastSection(false);
    layout->addWidget(m_lvTrends, 2);

    auto *buttons = new QDialogButtonBox(this);
    m_cmReport = buttons->addButton(QStringLiteral("Score &Report"), QDialogButtonBox::ActionRole);
    m_cmReport->setObjectName(QStringLiteral("cmReport"));
    m_cmReview = buttons->addButton(QStringLiteral("Re&view Items"), QDialogButtonBox::ActionRole);
    m_cmReview->setObjectName(QStringLiteral("cmReview"));
    m_cmPractice =
        buttons->addButton(QStringLiteral("Practise &Weak Areas"), QDialogButtonBox::ActionRole);
    m_cmPractice->setObjectName(QStringLiteral("cmPractice"));
    m_cmPracticeWrong =
        buttons->addButton(QStringLiteral("Practise Wrong &Answers"), QDialogButtonBox::ActionRole);
    m_cmPracticeWrong->setObjectName(QStringLiteral("cmPracticeWrong"));
    QPushButton *exportButton =
        buttons->addButton(QStringLiteral("&Export CSV..."), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("cmExport"));
    buttons->addButton(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmClose"));
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_cmReport, &QPushButton::clicked, this, &HistoryWindow::showReport);
    connect(m_lvAttempts, &QTreeWidget::itemActivated, this, &HistoryWindow::showReport);
    connect(exportButton, &QPushButton::clicked, this, &HistoryWindow::exportCsv);
    connect(m_cmPractice, &QPushButton::clicked, this, [this] {
        Q_EMIT practiceRequested(weakestObjectives(m_attempts, m_bank.testInfo.examCode,
                                                   recentAttempts, m_bank.objectives.size()));
    });
    connect(m_cmPracticeWrong, &QPushButton::clicked, this,
            &HistoryWindow::wrongAnswersPracticeRequested);
    connect(m_cmReview, &QPushButton::clicked, this, [this] {
        if (const std::optional<Attempt> attempt = currentAttempt())
            Q_EMIT reviewRequested(*attempt);
    });

    fill();
    for (QPushButton *start : {m_cmReview, m_cmPractice, m_cmPracticeWrong})
        start->setEnabled(startAllowed && !m_attempts.isEmpty());
}

void HistoryWindow::fill()
{
    const QString examCode = m_bank.testInfo.examCode;
    for (const Attempt &attempt : m_store.attempts()) {
        if (attempt.examCode == examCode)
            m_attempts.append(attempt);
    }

    QList<QTreeWidgetItem *> rows;
    rows.reserve(m_attempts.size());
    QList<int> scores;
    const QLocale locale;
    for (qsizetype index = 0; index < m_attempts.size(); ++index) {
        const Attempt &attempt = m_attempts[index];
        auto *row = new AttemptRow;
        const QString cells[] = {
            locale.toString(attempt.started.toLocalTime(), QLocale::ShortFormat),
            attempt.modeName,
            QString::number(attempt.questionCount),
            QString::number(attempt.scaledScore),
            attempt.passed ? QStringLiteral("Pass") : QStringLiteral("Fail"),
            durationText(attempt.secondsUsed())};
        const qint64 keys[] = {index,
                               attempt.mode,
                               attempt.questionCount,
                               attempt.scaledScore,
                               attempt.passed ? 1 : 0,
                               attempt.secondsUsed()};
        for (int column = DateColumn; column <= TimeColumn; ++column) {
            row->setText(column, cells[column]);
            row->setData(column, Qt::UserRole, keys[column]);
            if (column != DateColumn && column != ModeColumn)
                row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
        row->setForeground(ResultColumn, attempt.passed ? passGreen.darker(160) : failRed);
        rows.append(row);
        scores.append(attempt.scaledScore);
    }
    m_lvAttempts->addTopLevelItems(rows);
    // The newest first.
    m_lvAttempts->sortByColumn(DateColumn, Qt::DescendingOrder);
    if (!rows.isEmpty())
        m_lvAttempts->setCurrentItem(m_lvAttempts->topLevelItem(0));
    m_cmReport->setEnabled(!rows.isEmpty());
    m_chart->setScores(scores, m_attempts.isEmpty() ? m_bank.testInfo.passingScore
                                                    : m_attempts.last().passScore);

    for (const ObjectiveTrend &trend : objectiveTrends(m_attempts, examCode, recentAttempts)) {
        QStringList percents;
        for (int percent : trend.percents)
            percents.append(percentText(percent));
        auto *row = new QTreeWidgetItem(m_lvTrends,
                                        {trend.objectiveName, percents.join(QStringLiteral("  ")),
                                         percentText(trend.percent())});
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
}

std::optional<Attempt> HistoryWindow::currentAttempt() const
{
    QTreeWidgetItem *row = m_lvAttempts->currentItem();
    if (!row)
        return std::nullopt;
    Attempt attempt = m_attempts.value(row->data(DateColumn, Qt::UserRole).toLongLong());
    attempt.items = m_store.items(attempt.id);
    return attempt;
}

// The report as it was, and the items answered wrongly with their answers, read only.
void HistoryWindow::showReport()
{
    const std::optional<Attempt> chosen = currentAttempt();
    if (!chosen)
        return;
    const Attempt &attempt = *chosen;

    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("frmPastReport"));
    dialog.setWindowTitle(QStringLiteral("Score Report"));
    dialog.resize(640, 640);
    auto *layout = new QVBoxLayout(&dialog);
    auto *view = new QTextBrowser(&dialog);
    view->setObjectName(QStringLiteral("txReport"));
    view->setOpenLinks(false);
    QTextDocument *document =
        reportDocument(reportContent(m_bank, attempt, m_candidate), true).release();
    document->setParent(view);
    view->setDocument(document);
    layout->addWidget(view);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
}

void HistoryWindow::exportCsv()
{
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Export History"),
                                     documentsFolder() + QStringLiteral("/quendra-history.csv"),
                                     QStringLiteral("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(historyCsv(m_store.attempts()).toUtf8()) < 0 || !file.commit())
        showMessage(QStringLiteral("Export History"),
                    QStringLiteral("The history could not be saved in %1: %2")
                        .arg(path, file.errorString()),
                    MessageIcon::Warning);
}
