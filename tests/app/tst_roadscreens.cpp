#include "BankBuilder.h"
#include "app/ReadyWindow.h"
#include "app/UserName.h"
#include "engine/TestState.h"

#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

using namespace Qt::StringLiterals;

class RoadScreensTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesTheUser_data()
    {
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("first");

        QTest::newRow("full name")
            << u"Ada King Lovelace"_s << u"ada"_s << u"Ada King Lovelace"_s << u"Ada"_s;
        QTest::newRow("with office and phone")
            << u"Ada Lovelace,Room 12,555-0100,,"_s << u"ada"_s << u"Ada Lovelace"_s << u"Ada"_s;
        QTest::newRow("no full name") << QString() << u"ada"_s << u"ada"_s << u"ada"_s;
        QTest::newRow("only commas") << u",,,"_s << u"ada"_s << u"ada"_s << u"ada"_s;
        QTest::newRow("nothing known") << QString() << QString() << QString() << QString();
    }

    void namesTheUser()
    {
        QFETCH(QString, comment);
        QFETCH(QString, login);
        QFETCH(QString, name);
        QFETCH(QString, first);
        QCOMPARE(userNameFromAccount(comment, login), name);
        QCOMPARE(firstName(name), first);
    }

    void describesTheTest_data()
    {
        QTest::addColumn<QString>("modeName");
        QTest::addColumn<bool>("timed");
        QTest::addColumn<QString>("text");

        const QString untimed =
            u" This test is not time limited. You are allowed to complete it for "
            u"as long as you like."_s;
        QTest::newRow("exam of 90 minutes")
            << u"exam"_s << true
            << u"The test will be delivered in an exam environment. "
               u"You have 90 minute(s) to complete this test."_s;
        QTest::newRow("untimed custom")
            << u"custom"_s << false
            << u"The test will be delivered in a customized environment "
               u"as specified by you."_s +
                   untimed;
    }

    void describesTheTest()
    {
        QFETCH(QString, modeName);
        QFETCH(bool, timed);
        QFETCH(QString, text);
        TestState state;
        state.testModeName = modeName;
        state.optTimed = timed;
        state.testDuration = u"90"_s;
        QCOMPARE(readyModeText(state), text);
    }

    void readyScreenDescribesTheSetAndOpensTheNotesAtTheTop()
    {
        QuestionBank bank = BankBuilder().objectives(1).questions(1, 230).bank();
        bank.testInfo.examCode = u"512-330"_s;
        bank.testInfo.examTitle = u"NTCX Certified Network Associate"_s;
        bank.testInfo.description = u"About the exam."_s;
        bank.testInfo.notes = u"A line of notes.\n"_s.repeated(40);
        TestState state;
        state.testLength = 60;
        state.objListCount = 9;
        ReadyWindow frReady(bank, state, u"Grace"_s);
        QVERIFY(frReady.TestReady());
        frReady.show();

        QCOMPARE(
            readyQuestionText(bank, state),
            u"Your 60-question set of Exam # 512-330, NTCX Certified Network Associate has been "
            u"generated from the 230-question pool with 9 test objectives."_s);
        auto *box = frReady.findChild<QTextEdit *>(u"txInfo"_s);
        QCOMPARE(box->toPlainText(), u"About the exam.\n\n"_s + bank.testInfo.notes);
        // A long text opens at its top.
        QCoreApplication::processEvents();
        QVERIFY(box->verticalScrollBar()->maximum() > 0);
        QCOMPARE(box->verticalScrollBar()->value(), 0);
    }
};

QTEST_MAIN(RoadScreensTest)
#include "tst_roadscreens.moc"
