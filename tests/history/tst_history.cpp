#include "BankBuilder.h"

#include "engine/TestState.h"
#include "history/History.h"
#include "history/HistoryStore.h"
#include "history/WeakAreas.h"
#include "present/ReportDocument.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime firstStart(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);

// An attempt at exam 512-330 whose objectives scored correct/4 each, in order.
Attempt attemptOf(const QList<int> &correct, int daysLater = 0,
                  const QString &exam = QStringLiteral("512-330"))
{
    Attempt attempt;
    attempt.examCode = exam;
    attempt.examTitle = QStringLiteral("Networks, \"core\"");
    attempt.dbVersion = QStringLiteral("1.0");
    attempt.mode = StudyMode;
    attempt.modeName = QStringLiteral("study");
    attempt.started = firstStart.addDays(daysLater);
    attempt.ended = attempt.started.addSecs(754);
    attempt.passScore = 700;
    for (int k = 0; k < correct.size(); ++k) {
        attempt.objectives.append(
            {k + 1, QStringLiteral("Objective %1").arg(k + 1), correct[k], 4});
        attempt.correctCount += correct[k];
        attempt.questionCount += 4;
        for (int i = 0; i < 4; ++i)
            attempt.items.append({int(attempt.items.size()) + 1,
                                  QStringLiteral("Q%1").arg(k * 4 + i + 1), SingleAnswer,
                                  QStringLiteral("1"),
                                  i < correct[k] ? StatusCorrect : StatusIncorrect});
    }
    attempt.scaledScore =
        attempt.questionCount ? 1000 * attempt.correctCount / attempt.questionCount : 0;
    attempt.passed = attempt.scaledScore >= attempt.passScore;
    return attempt;
}

Attempt withoutItems(Attempt attempt)
{
    attempt.items.clear();
    return attempt;
}

} // namespace

class HistoryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Whatever the code reaches for, it must never be the user's own folder.
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("xdg")).toUtf8());
        QStandardPaths::setTestModeEnabled(true);
    }

    void recordsAndReadsBack()
    {
        HistoryStore store(m_dir.filePath(QStringLiteral("read.sqlite")));
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        Attempt first = attemptOf({4, 1});
        // Objectives come back in the report's order, not by number.
        std::reverse(first.objectives.begin(), first.objectives.end());
        first.id = store.record(first);
        Attempt second = attemptOf({2, 3}, 1);
        second.id = store.record(second);
        QVERIFY(first.id > 0 && second.id > first.id);
        // The last item row breaks the write after the attempt and its objectives went in.
        Attempt broken = attemptOf({1, 1}, 2);
        broken.items.append(broken.items.first());
        QCOMPARE(store.record(broken), 0);
        QVERIFY(!store.lastError().isEmpty());

        HistoryStore reopened(store.path());
        QVERIFY(reopened.open());
        QCOMPARE(reopened.attempts(), (QList<Attempt>{withoutItems(first), withoutItems(second)}));
        QCOMPARE(reopened.items(second.id), second.items);
        QVERIFY(historyCsv(reopened.attempts())
                    .startsWith(QStringLiteral("Started,Exam,Title,Mode,Questions,Correct,Score,"
                                               "Passing Score,Result,Seconds Used\n"
                                               "2026-03-01T09:00:00.000Z,512-330,\"Networks, "
                                               "\"\"core\"\"\",study,8,5,625,700,Fail,754\n")));

        QVERIFY(reopened.clear());
        QVERIFY(reopened.attempts().isEmpty());
        QVERIFY(reopened.items(second.id).isEmpty());
    }

    void upgradesTheFirstSchema()
    {
        const QString path = m_dir.filePath(QStringLiteral("old.sqlite"));
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            for (const char *statement :
                 {"CREATE TABLE attempt (id INTEGER PRIMARY KEY, exam_code TEXT NOT NULL, "
                  "mode INTEGER NOT NULL, started TEXT NOT NULL, ended TEXT NOT NULL, "
                  "scaled_score INTEGER NOT NULL, passed INTEGER NOT NULL)",
                  "CREATE TABLE objective_result (attempt_id INTEGER NOT NULL, objective_no "
                  "INTEGER NOT NULL, objective_name TEXT NOT NULL, correct INTEGER NOT NULL, "
                  "asked INTEGER NOT NULL, PRIMARY KEY (attempt_id, objective_no))",
                  "INSERT INTO attempt VALUES (7, '512-330', 2, '2025-01-02T10:00:00.000Z', "
                  "'2025-01-02T11:30:00.000Z', 810, 1)",
                  "INSERT INTO objective_result VALUES (7, 1, 'Routing', 3, 4)",
                  "PRAGMA user_version = 1"})
                QVERIFY2(query.exec(QString::fromLatin1(statement)),
                         qPrintable(query.lastError().text()));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("old"));

        HistoryStore store(path);
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        const QList<Attempt> old = store.attempts();
        QCOMPARE(old.size(), 1);
        QCOMPARE(old[0].id, 7);
        QCOMPARE(old[0].scaledScore, 810);
        QVERIFY(old[0].passed);
        QCOMPARE(old[0].secondsUsed(), 5400);
        QCOMPARE(old[0].objectives, (QList<ObjectiveResult>{{1, QStringLiteral("Routing"), 3, 4}}));
        QVERIFY(store.record(attemptOf({1})) > 0);
        QCOMPARE(store.attempts().size(), 2);
    }

    void weakestObjectives_data()
    {
        QTest::addColumn<QList<Attempt>>("attempts");
        QTest::addColumn<int>("recent");
        QTest::addColumn<QList<int>>("weakest");
        QTest::newRow("lowest first, ties by number")
            << QList<Attempt>{attemptOf({3, 1, 2, 1})} << 5 << QList<int>{2, 4, 3};
        QTest::newRow("summed over the attempts")
            << QList<Attempt>{attemptOf({0, 2, 4}), attemptOf({4, 1, 4}, 1)} << 5
            << QList<int>{2, 1};
        QTest::newRow("only the recent attempts")
            << QList<Attempt>{attemptOf({0, 4}), attemptOf({4, 1}, 1), attemptOf({4, 2}, 2)} << 2
            << QList<int>{2};
        QTest::newRow("another exam does not count")
            << QList<Attempt>{attemptOf({4, 4}), attemptOf({0, 0}, 1, QStringLiteral("999"))} << 5
            << QList<int>{};
        QTest::newRow("no history") << QList<Attempt>{} << 5 << QList<int>{};
    }

    void weakestObjectives()
    {
        QFETCH(QList<Attempt>, attempts);
        QFETCH(int, recent);
        QFETCH(QList<int>, weakest);
        QCOMPARE(::weakestObjectives(attempts, QStringLiteral("512-330"), recent, 3), weakest);
    }

    void weakAreaSettingsTickTheObjectives()
    {
        const QuestionBank bank = BankBuilder()
                                      .objectives(3)
                                      .questions(1, 5)
                                      .questions(2, 7)
                                      .questions(3, 9)
                                      .examQuestions(10, 30)
                                      .bank();
        const CustomSettings settings = weakAreaSettings(bank, {3, 1});
        QCOMPARE(settings.opObjIndex, 1);
        QCOMPARE(QList<bool>(settings.lvObjChecked.begin(), settings.lvObjChecked.end()),
                 (QList<bool>{true, false, true}));
        QCOMPARE(settings.txCustomQuestions, QStringLiteral("10"));
    }

    // What the report says is in the text layer of the file, markup and all.
    void pdfHoldsTheReportTexts()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QuestionBank bank = BankBuilder().objectives(2).questions(1, 4).questions(2, 4).bank();
        bank.objectives[2].objectiveName = QStringLiteral("<b>Routing</b> & switching");
        bank.questions[5].questionText = QStringLiteral("Which <i>protocol</i> routes?");
        Attempt attempt = attemptOf({4, 0});
        attempt.objectives[1].objectiveName = bank.objectives[2].objectiveName;
        const ReportContent content = reportContent(bank, attempt, QStringLiteral("Ann Lee"));
        QCOMPARE(content.incorrectItems.size(), 4);

        const QString path = m_dir.filePath(QStringLiteral("report.pdf"));
        QString error;
        QVERIFY2(writeReportPdf(content, true, path, &error), qPrintable(error));
        QProcess process;
        process.start(pdftotext, {QStringLiteral("-raw"), path, QStringLiteral("-")});
        QVERIFY(process.waitForFinished());
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        for (const QString &expected : {QStringLiteral("Your Score: 500/1000 (4/8)"),
                                        QStringLiteral("<b>Routing</b> & switching"),
                                        QStringLiteral("Which <i>protocol</i> routes?")})
            QVERIFY2(text.contains(expected),
                     qPrintable(expected + QStringLiteral(" in\n") + text));

        QVERIFY(!writeReportPdf(content, false, m_dir.filePath(QStringLiteral("none/report.pdf")),
                                &error));
        QVERIFY(!error.isEmpty());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(HistoryTest)
#include "tst_history.moc"
