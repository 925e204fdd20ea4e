#include "FakeMessageBoxes.h"
#include "engine/TestState.h"
#include "present/ScoreGrade.h"
#include "present/ScoreReport.h"
#include "moduledb/QuestionBank.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

namespace {

QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

// The colour a bar box shows at x, halfway down.
QColor barColourAt(const QLabel *box, int x)
{
    return box->pixmap().toImage().pixelColor(x, box->height() / 2);
}

} // namespace

class ScoreReportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void gradesAgainstPassingScore_data();
    void gradesAgainstPassingScore();
    void scalesBars_data();
    void scalesBars();
    void showsExamAndCandidate();
    void showsScoreAndObjectives();
    void perfectReport();
    void allWrongReport();
    void reviewIncorrectDisabledWithoutIncorrectItems();
    void reviewAllAndIncorrectSetTheMode();
    void mainMenuNoKeepsEverything();
    void mainMenuYesEndsSession();

private:
    // A graded state of length items with correct of them right, over objectives 2 and 1.
    void grade(int length, int correct);
    ScoreReport *drawReport();

    QuestionBank m_bank;
    TestState m_state;
    std::unique_ptr<ScoreReport> m_report;
};

void ScoreReportTest::init()
{
    m_report.reset();
    m_bank = {};
    m_bank.testInfo.examCode = QStringLiteral("512-330");
    m_bank.testInfo.examTitle = QStringLiteral("NTCX Certified Network Associate");
    m_bank.testInfo.passingScore = 825;
    m_bank.objectives.append({1, QStringLiteral("Network Fundamentals"), 3});
    m_bank.objectives.append({2, QStringLiteral("IPv4 Addressing and Subnetting"), 3});
    m_state = {};
}

void ScoreReportTest::grade(int length, int correct)
{
    m_state.testActive = false;
    m_state.testLength = length;
    m_state.correctCount = correct;
    m_state.incorrectCount = length - correct;
    m_state.incorrectItems.clear();
    for (int item = correct + 1; item <= length; ++item)
        m_state.incorrectItems.append(item);
    m_state.scaledScore = int(std::lround(1000.0 * correct / length));
    m_state.passScore = m_bank.testInfo.passingScore;
    m_state.objListCount = 2;
    m_state.objList.fill(2, 0);
    m_state.objList[1] = 2;
    m_state.objList[2] = 1;
    m_state.objPercent.fill(2, 0);
    m_state.objPercent[1] = 67;
    m_state.objScoreText.fill(2, QString());
    m_state.objScoreText[1] = QStringLiteral("(2/3)");
    m_state.objScoreText[2] = QStringLiteral("(0/1)");
}

ScoreReport *ScoreReportTest::drawReport()
{
    m_report = std::make_unique<ScoreReport>(m_bank, m_state, QStringLiteral("Ada Lovelace"));
    m_report->DrawScoreBox(m_state.objListCount);
    return m_report.get();
}

void ScoreReportTest::gradesAgainstPassingScore_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("incorrectEnabled");
    QTest::newRow("just below") << 824 << QStringLiteral("FAIL - Sorry, try harder next time!")
                                << QColor(255, 0, 0) << true;
    QTest::newRow("equal") << 825 << QStringLiteral("PASS - Congratulation!") << QColor(0, 255, 0)
                           << true;
    QTest::newRow("999") << 999 << QStringLiteral("PASS - Congratulation!") << QColor(0, 255, 0)
                         << true;
    QTest::newRow("perfect") << 1000 << QStringLiteral("Pass - Perfect!") << QColor(0, 255, 0)
                             << false;
    QTest::newRow("zero") << 0 << QStringLiteral("FAIL - Sorry, try harder next time!")
                          << QColor(255, 0, 0) << true;
}

void ScoreReportTest::gradesAgainstPassingScore()
{
    QFETCH(int, score);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QFETCH(bool, incorrectEnabled);
    const GradeDisplay grade = gradeDisplay(score, 825);
    QCOMPARE(grade.text, text);
    QCOMPARE(grade.colour, colour);
    QCOMPARE(grade.reviewIncorrectEnabled, incorrectEnabled);
}

void ScoreReportTest::scalesBars_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("length");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("passing") << 825 << 317;
    QTest::newRow("full") << 1000 << 384;
    QTest::newRow("beyond the scale") << 1200 << 384;
    QTest::newRow("negative") << -5 << 0;
}

void ScoreReportTest::scalesBars()
{
    QFETCH(int, points);
    QFETCH(int, length);
    QCOMPARE(barLength(points, 384), length);
}

void ScoreReportTest::showsExamAndCandidate()
{
    grade(8, 1);
    ScoreReport *report = drawReport();
    QCOMPARE(report->windowTitle(),
             QStringLiteral("Exam # 512-330, NTCX Certified Network Associate - Test Result for "
                            "Ada Lovelace"));
    auto *front = report->findChild<QLabel *>(QStringLiteral("lbTestF"));
    auto *back = report->findChild<QLabel *>(QStringLiteral("lbTestB"));
    const QString lines = QStringLiteral("Exam Name: NTCX Certified Network Associate "
                                         "(512-330)\r\nCandidate Name: Ada Lovelace");
    QCOMPARE(front->text(), lines);
    QCOMPARE(back->text(), lines);
    QCOMPARE(textColour(front), QColor(0, 0, 128));
    QVERIFY(front->pos().x() > back->pos().x() && front->pos().y() > back->pos().y());
    QCOMPARE(report->findChild<QLabel *>(QStringLiteral("lbCard"))->text(),
             QStringLiteral("Test Result"));
}

void ScoreReportTest::showsScoreAndObjectives()
{
    grade(60, 51);
    ScoreReport *report = drawReport();
    QCOMPARE(report->findChild<QLabel *>(QStringLiteral("lbScore"))->text(),
             QStringLiteral("850/1000 (51/60)"));
    QCOMPARE(report->findChild<QLabel *>(QStringLiteral("lbPassingScore"))->text(),
             QStringLiteral("825"));
    QVERIFY(report->isVisible());

    auto *table = report->findChild<QTreeWidget *>(QStringLiteral("lvObjScore"));
    QCOMPARE(table->topLevelItemCount(), 2);
    const QStringList first = {QStringLiteral("1"),
                               QStringLiteral("IPv4 Addressing and Subnetting"),
                               QStringLiteral("67%"), QStringLiteral("(2/3)")};
    const QStringList second = {QStringLiteral("2"), QStringLiteral("Network Fundamentals"),
                                QStringLiteral("0%"), QStringLiteral("(0/1)")};
    for (int column = 0; column < 4; ++column) {
        QCOMPARE(table->topLevelItem(0)->text(column), first[column]);
        QCOMPARE(table->topLevelItem(1)->text(column), second[column]);
    }

    // Drawing again (a new grading) replaces the rows.
    report->DrawScoreBox(1);
    QCOMPARE(table->topLevelItemCount(), 1);

    auto *passBar = report->findChild<QLabel *>(QStringLiteral("piPassScore"));
    const int passEnd = barLength(825, passBar->width());
    QCOMPARE(barColourAt(passBar, passEnd / 2), QColor(0, 0, 255));
    QCOMPARE(barColourAt(passBar, passEnd + 2), QColor(Qt::white));
}

void ScoreReportTest::perfectReport()
{
    grade(5, 5);
    ScoreReport *report = drawReport();
    auto *gradeLabel = report->findChild<QLabel *>(QStringLiteral("lbGrade"));
    QCOMPARE(gradeLabel->text(), QStringLiteral("Pass - Perfect!"));
    QCOMPARE(textColour(gradeLabel), QColor(0, 255, 0));
    QVERIFY(!report->findChild<QPushButton *>(QStringLiteral("cmIncorrect"))->isEnabled());
    auto *bar = report->findChild<QLabel *>(QStringLiteral("piScore"));
    QCOMPARE(barColourAt(bar, bar->width() / 2), QColor(0, 255, 0));
    QCOMPARE(barColourAt(bar, bar->width() - 1), QColor(128, 128, 128));
}

void ScoreReportTest::allWrongReport()
{
    grade(4, 0);
    ScoreReport *report = drawReport();
    auto *gradeLabel = report->findChild<QLabel *>(QStringLiteral("lbGrade"));
    QCOMPARE(gradeLabel->text(), QStringLiteral("FAIL - Sorry, try harder next time!"));
    QCOMPARE(textColour(gradeLabel), QColor(255, 0, 0));
    QVERIFY(report->findChild<QPushButton *>(QStringLiteral("cmIncorrect"))->isEnabled());
    auto *bar = report->findChild<QLabel *>(QStringLiteral("piScore"));
    QCOMPARE(barColourAt(bar, 0), QColor(Qt::white));
}

void ScoreReportTest::reviewIncorrectDisabledWithoutIncorrectItems()
{
    // Passed, but an item of an unknown type was left out, so nothing is incorrect.
    grade(5, 4);
    m_state.incorrectCount = 0;
    m_state.incorrectItems.clear();
    ScoreReport *report = drawReport();
    QVERIFY(!report->findChild<QPushButton *>(QStringLiteral("cmIncorrect"))->isEnabled());
}

void ScoreReportTest::reviewAllAndIncorrectSetTheMode()
{
    grade(6, 3);
    ScoreReport *report = drawReport();
    QSignalSpy all(report, &ScoreReport::reviewAllRequested);
    QSignalSpy incorrect(report, &ScoreReport::reviewIncorrectRequested);

    QTest::mouseClick(report->findChild<QPushButton *>(QStringLiteral("cmIncorrect")),
                      Qt::LeftButton);
    QCOMPARE(incorrect.size(), 1);
    QVERIFY(!report->isVisible());
    QCOMPARE(m_state.navMode, int(NavReviewIncorrect));
    QCOMPARE(m_state.reviewPosIncorrect, 1);
    QCOMPARE(m_state.curItem, 4);

    report->show();
    QTest::mouseClick(report->findChild<QPushButton *>(QStringLiteral("cmAll")), Qt::LeftButton);
    QCOMPARE(all.size(), 1);
    QVERIFY(!report->isVisible());
    QCOMPARE(m_state.navMode, int(NavReviewAll));
    QCOMPARE(m_state.curItem, 1);
}

void ScoreReportTest::mainMenuNoKeepsEverything()
{
    FakeMessageBoxes boxes;
    grade(6, 3);
    ScoreReport *report = drawReport();
    QSignalSpy mainMenu(report, &ScoreReport::mainMenuRequested);
    boxes.answerNext(MessageButton::No);

    QTest::mouseClick(report->findChild<QPushButton *>(QStringLiteral("cmMain")), Qt::LeftButton);

    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("End Session?"));
    QCOMPARE(boxes.shown[0].text,
             QStringLiteral("Would you like to end your test session?\n(You will no longer be "
                            "able to review your answers.)"));
    QCOMPARE(boxes.shown[0].icon, MessageIcon::Question);
    QCOMPARE(boxes.shown[0].buttons, MessageButtons::YesNo);
    QCOMPARE(mainMenu.size(), 0);
    QVERIFY(report->isVisible());
    QCOMPARE(report->findChild<QLabel *>(QStringLiteral("lbScore"))->text(),
             QStringLiteral("500/1000 (3/6)"));
}

void ScoreReportTest::mainMenuYesEndsSession()
{
    FakeMessageBoxes boxes;
    grade(6, 3);
    ScoreReport *report = drawReport();
    QSignalSpy mainMenu(report, &ScoreReport::mainMenuRequested);
    boxes.answerNext(MessageButton::Yes);
    QTest::mouseClick(report->findChild<QPushButton *>(QStringLiteral("cmMain")), Qt::LeftButton);
    QCOMPARE(mainMenu.size(), 1);
    QCOMPARE(boxes.unexpected, 0);
}

QTEST_MAIN(ScoreReportTest)
#include "tst_scorereport.moc"
