#include "app/ReadyWindow.h"
#include "app/StartWindow.h"
#include "app/UserName.h"
#include "common/Twips.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

class RoadScreensTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void namesTheUser_data();
    void namesTheUser();
    void firstNameEndsAtFirstBlank_data();
    void firstNameEndsAtFirstBlank();
    void startScreenTexts();
    void describesTheTest_data();
    void describesTheTest();
    void readyScreenTextsAndLayout();

private:
    QuestionBank m_bank;
    TestState m_state;
};

void RoadScreensTest::init()
{
    m_bank = {};
    m_bank.testInfo.examCode = QStringLiteral("512-330");
    m_bank.testInfo.examTitle = QStringLiteral("NTCX Certified Network Associate");
    m_bank.testInfo.description = QStringLiteral("About the exam.");
    m_bank.testInfo.notes = QStringLiteral("Some notes.");
    m_bank.bankQuestionCount = 230;
    m_state = {};
    m_state.testLength = 60;
    m_state.objListCount = 9;
}

void RoadScreensTest::namesTheUser_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("name");
    QTest::newRow("full name") << QStringLiteral("Ada Lovelace") << QStringLiteral("ada")
                               << QStringLiteral("Ada Lovelace");
    QTest::newRow("with office and phone")
        << QStringLiteral("Ada Lovelace,Room 12,555-0100,,") << QStringLiteral("ada")
        << QStringLiteral("Ada Lovelace");
    QTest::newRow("no full name") << QString() << QStringLiteral("ada") << QStringLiteral("ada");
    QTest::newRow("only commas") << QStringLiteral(",,,") << QStringLiteral("ada")
                                 << QStringLiteral("ada");
    QTest::newRow("nothing known") << QString() << QString() << QString();
}

void RoadScreensTest::namesTheUser()
{
    QFETCH(QString, comment);
    QFETCH(QString, login);
    QFETCH(QString, name);
    QCOMPARE(userNameFromAccount(comment, login), name);
}

void RoadScreensTest::firstNameEndsAtFirstBlank_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("first");
    QTest::newRow("two names") << QStringLiteral("Ada Lovelace") << QStringLiteral("Ada");
    QTest::newRow("three names") << QStringLiteral("Ada King Lovelace") << QStringLiteral("Ada");
    QTest::newRow("no blank") << QStringLiteral("ada") << QStringLiteral("ada");
    QTest::newRow("empty") << QString() << QString();
}

void RoadScreensTest::firstNameEndsAtFirstBlank()
{
    QFETCH(QString, name);
    QFETCH(QString, first);
    QCOMPARE(firstName(name), first);
}

void RoadScreensTest::startScreenTexts()
{
    StartWindow frStart(m_bank, m_state, QStringLiteral("Ada Lovelace"));
    QCOMPARE(frStart.windowTitle(),
             QStringLiteral("Exam # 512-330, NTCX Certified Network Associate"));
    const QString heading = QStringLiteral(
        "Welcome to Exam \nNTCX Certified Network Associate (512-330)\nAda Lovelace");
    QCOMPARE(frStart.findChild<QLabel *>(QStringLiteral("lbTestF"))->text(), heading);
    QCOMPARE(frStart.findChild<QLabel *>(QStringLiteral("lbTestB"))->text(), heading);
    QCOMPARE(frStart.findChild<QLabel *>(QStringLiteral("lbStudy"))->text(),
             QStringLiteral("Click Study Mode to test your knowledge in a learning environment. A "
                            "specified number of questions will be randomly generated from the "
                            "question pool. This mode is not timed and you can review the "
                            "correct answer and explanation of each question during the test."));
    QCOMPARE(frStart.findChild<QLabel *>(QStringLiteral("lbExam"))->text(),
             QStringLiteral("Click Exam Mode to simulate a realistic certification exam "
                            "environment. A specified number of questions will be automatically "
                            "generated from the question pool. The exam is timed and you cannot "
                            "review answers until the exam is finished. You cannot go back to the "
                            "previous questions."));
    QCOMPARE(frStart.findChild<QLabel *>(QStringLiteral("lbCustom"))->text(),
             QStringLiteral("Click Custom Mode to fully customize your testing environment. This "
                            "mode enables you to select the number of question and which "
                            "objectives to be used. You also has the options to randomize "
                            "questions and answers as well as setting the time limit for the "
                            "test."));
    QCOMPARE(frStart.findChild<QLabel *>(QStringLiteral("lbExit"))->text(),
             QStringLiteral("Exit Quendra"));
    const QList<std::pair<QString, QStringList>> buttons = {
        {QStringLiteral("cmStudy"), {QStringLiteral("&Study Mode"), QStringLiteral("Study Mode")}},
        {QStringLiteral("cmExam"), {QStringLiteral("&Exam Mode"), QStringLiteral("Exam Mode")}},
        {QStringLiteral("cmCustom"),
         {QStringLiteral("&Custom Mode"), QStringLiteral("Custom Mode")}},
        {QStringLiteral("cmExit"), {QStringLiteral("E&xit"), QStringLiteral("Exit")}},
    };
    for (const auto &[name, texts] : buttons) {
        auto *button = frStart.findChild<QPushButton *>(name);
        QVERIFY2(button, qPrintable(name));
        QCOMPARE(button->text(), texts[0]);
        QCOMPARE(button->toolTip(), texts[1]);
    }
}

void RoadScreensTest::describesTheTest_data()
{
    QTest::addColumn<QString>("modeName");
    QTest::addColumn<bool>("timed");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QString>("text");
    QTest::newRow("study") << QStringLiteral("study") << false << QString()
                           << QStringLiteral("The test will be delivered in a study environment. "
                                             "This test is not time limited. You are allowed to "
                                             "complete it for as long as you like.");
    QTest::newRow("exam of 90 minutes")
        << QStringLiteral("exam") << true << QStringLiteral("90")
        << QStringLiteral("The test will be delivered in an exam environment. You have 90 "
                          "minute(s) to complete this test.");
    QTest::newRow("untimed custom")
        << QStringLiteral("custom") << false << QStringLiteral("45")
        << QStringLiteral("The test will be delivered in a customized environment as specified "
                          "by you. This test is not time limited. You are allowed to complete it "
                          "for as long as you like.");
}

void RoadScreensTest::describesTheTest()
{
    QFETCH(QString, modeName);
    QFETCH(bool, timed);
    QFETCH(QString, duration);
    QFETCH(QString, text);
    m_state.testModeName = modeName;
    m_state.optTimed = timed;
    m_state.testDuration = duration;
    QCOMPARE(readyModeText(m_state), text);
}

void RoadScreensTest::readyScreenTextsAndLayout()
{
    m_state.testModeName = QStringLiteral("exam");
    m_state.optTimed = true;
    m_state.testDuration = QStringLiteral("90");
    ReadyWindow frReady(m_bank, m_state, QStringLiteral("Grace"));
    QVERIFY(frReady.TestReady());
    frReady.show();

    QCOMPARE(frReady.windowTitle(),
             QStringLiteral("Exam # 512-330, NTCX Certified Network Associate"));
    auto *question = frReady.findChild<QLabel *>(QStringLiteral("lbQuestion"));
    auto *mode = frReady.findChild<QLabel *>(QStringLiteral("lbMode"));
    auto *info = frReady.findChild<QLabel *>(QStringLiteral("lbInfo"));
    auto *box = frReady.findChild<QTextEdit *>(QStringLiteral("txInfo"));
    QCOMPARE(question->text(),
             QStringLiteral("Your 60-question set of Exam # 512-330, NTCX Certified Network "
                            "Associate has been generated from the 230-question pool with 9 test "
                            "objectives."));
    QCOMPARE(info->text(), QStringLiteral("Additional Information:"));
    QCOMPARE(box->toPlainText(), QStringLiteral("About the exam.\n\nSome notes."));
    // A long text opens at its top.
    m_bank.testInfo.notes = QStringLiteral("A line of notes.\n").repeated(40);
    QVERIFY(frReady.TestReady());
    QCoreApplication::processEvents();
    QVERIFY(box->verticalScrollBar()->maximum() > 0);
    QCOMPARE(box->verticalScrollBar()->value(), 0);
    QCOMPARE(box->toolTip(), QStringLiteral("Additional Info"));
    QCOMPARE(frReady.findChild<QLabel *>(QStringLiteral("lbTestF"))->text(),
             QStringLiteral("Get Ready, Grace!"));

    // Each part 240 twips below the one above; the paragraphs as tall as their text.
    QCOMPARE(question->height(), question->heightForWidth(question->width()));
    QVERIFY(question->height() > question->fontMetrics().height());
    QCOMPARE(mode->y(), question->geometry().bottom() + 1 + twips(240));
    QCOMPARE(info->y(), mode->geometry().bottom() + 1 + twips(240));
    QCOMPARE(box->y(), info->geometry().bottom() + 1 + twips(240));
    QCOMPARE(box->geometry().bottom() + 1, box->parentWidget()->height() - twips(120));
}

QTEST_MAIN(RoadScreensTest)
#include "tst_roadscreens.moc"
