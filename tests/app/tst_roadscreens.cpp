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

        QTest::newRow("with office and phone")
            << u"Ada Lovelace,Room 12,555-0100,,"_s << u"ada"_s << u"Ada Lovelace"_s << u"Ada"_s;
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

    void readyScreenOpensTheNotesAtTheTop()
    {
        QuestionBank bank = BankBuilder().objectives(1).questions(1, 230).bank();
        bank.testInfo.description = u"About the exam."_s;
        bank.testInfo.notes = u"A line of notes.\n"_s.repeated(40);
        TestState state;
        state.testLength = 60;
        ReadyWindow frReady(bank, state, u"Grace"_s);
        QVERIFY(frReady.TestReady());
        frReady.show();

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
