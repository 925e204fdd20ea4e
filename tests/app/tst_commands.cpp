#include "BankBuilder.h"
#include "NextModal.h"
#include "RoadFixture.h"
#include "Widgets.h"
#include "app/CustomWindow.h"
#include "app/MenuCommands.h"
#include "app/ReadyWindow.h"
#include "app/ShellOpen.h"
#include "app/StartWindow.h"
#include "present/ScoreReport.h"
#include "testwindow/TestWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

void setChecked(QWidget *window, const QString &name, bool checked)
{
    window->findChild<QCheckBox *>(name)->setChecked(checked);
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void customSettingsSetUpTheTest_data();
    void customSettingsSetUpTheTest();
    void aRefusedCountIsPutBack();
    void commandsOpenTheirWindowsAndPages_data();
    void commandsOpenTheirWindowsAndPages();
    void moduleInformationShowsTheBankEachTime();
    void fontSizeReachesTheItemAndTheNextTest();
    void optionsTurnTheTimerOnInACustomTest();

private:
    CustomWindow *custom() const { return m_app->road->customWindow(); }
    void openCustom();

    QTemporaryDir m_programFolder;
    QStringList m_opened;
    std::optional<RoadFixture> m_app;
};

void TestCommands::init()
{
    BankBuilder builder;
    builder.objectives(3).questions(1, 3).questions(2, 2).questions(3, 3).examQuestions(6, 90);
    QuestionBank bank = builder.bank();
    bank.testInfo.examCode = u"512-330"_s;
    bank.testInfo.examTitle = u"NTCX Certified Network Associate"_s;
    bank.testInfo.description = u"Eight <b>questions</b>."_s;
    m_app.emplace(bank);
    m_app->context.programFolder = m_programFolder.path();
    m_opened.clear();
    installUrlOpener([this](const QUrl &address) {
        m_opened.append(address.toString());
        return true;
    });

    new MenuCommands(m_app->context, m_app->main, *m_app->road);
    m_app->show();
}

void TestCommands::cleanup()
{
    QCOMPARE(m_app->boxes.unexpected, 0);
    installUrlOpener({});
    m_app.reset();
}

void TestCommands::openCustom()
{
    click(m_app->road->startWindow(), u"cmCustom"_s);
    QVERIFY(custom()->isVisible());
    QCOMPARE(custom()->findChild<QLineEdit *>(u"txDuration"_s)->text(), u"90"_s);
}

// The controls of the settings as the user leaves them, and the test they set up.
void TestCommands::customSettingsSetUpTheTest_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QList<int>>("uncheckedObjectives"); // empty: all objectives
    QTest::addColumn<bool>("random");
    QTest::addColumn<bool>("timer");
    QTest::addColumn<bool>("buttons");
    QTest::addColumn<int>("testLength");
    QTest::addColumn<QList<bool>>("objSelected");

    QTest::newRow("all objectives, as they come")
        << "4" << QList<int>() << true << false << true << 4 << QList{true, true, true};
    QTest::newRow("two objectives, timed, no buttons")
        << "3" << QList{2} << false << true << false << 3 << QList{true, false, true};
}

void TestCommands::customSettingsSetUpTheTest()
{
    QFETCH(QString, count);
    QFETCH(QList<int>, uncheckedObjectives);
    QFETCH(bool, random);
    QFETCH(bool, timer);
    QFETCH(bool, buttons);
    QFETCH(int, testLength);
    QFETCH(QList<bool>, objSelected);

    openCustom();
    custom()->findChild<QLineEdit *>(u"txCustomQuestions"_s)->setText(count);
    if (!uncheckedObjectives.isEmpty())
        element<QRadioButton>(custom(), u"opObj"_s, 1)->setChecked(true);
    auto *lvObj = custom()->findChild<QTreeWidget *>(u"lvObj"_s);
    for (int row : uncheckedObjectives)
        lvObj->topLevelItem(row - 1)->setCheckState(0, Qt::Unchecked);
    for (const QString &box : {u"ckRndQues"_s, u"ckRndAns"_s})
        setChecked(custom(), box, random);
    setChecked(custom(), u"ckTimer"_s, timer);
    custom()->findChild<QLineEdit *>(u"txDuration"_s)->setText(u"5"_s);
    for (const QString &box : {u"ckAnsBtn"_s, u"ckPrevious"_s, u"ckTotCorAns"_s})
        setChecked(custom(), box, buttons);
    click(custom(), u"cmdCustomOK"_s);

    QVERIFY(m_app->road->readyWindow()->isVisible());
    QVERIFY(!custom()->isVisible());
    const TestState &s = m_app->context.state;
    QCOMPARE(s.testModeName, u"custom"_s);
    QCOMPARE(s.testLength, testLength);
    QList<bool> selected(s.objSelected.begin(), s.objSelected.end());
    QCOMPARE(selected, objSelected);
    QCOMPARE(s.testDuration, u"5"_s);
    QCOMPARE((QList<bool>{s.optRandomQuestions, s.optRandomAnswers, s.optTimed, s.optAnswerButton,
                          s.optPrevious, s.optShowCorrectCount}),
             (QList<bool>{random, random, timer, buttons, buttons, buttons}));
}

// Checked as the box is left; the message texts are the engine's (tst_custom).
void TestCommands::aRefusedCountIsPutBack()
{
    openCustom();
    QTRY_VERIFY(QApplication::focusWidget());
    auto *count = custom()->findChild<QLineEdit *>(u"txCustomQuestions"_s);
    count->setText(u"0"_s);
    custom()->findChild<QCheckBox *>(u"ckRndQues"_s)->setFocus(Qt::TabFocusReason);
    QCOMPARE(m_app->boxes.shown.size(), 1);
    QCOMPARE(count->text(), u"8"_s);
    QCOMPARE(QApplication::focusWidget(), count);

    click(custom(), u"cmdCustomCancel"_s);
    QVERIFY(m_app->road->startWindow()->isVisible());
}

void TestCommands::commandsOpenTheirWindowsAndPages_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("modal");
    QTest::addColumn<QString>("opened"); // the address, the Help folder's file as "Help/..."

    QTest::newRow("about") << u"keyAbout"_s << u"frAbout"_s << QString();
    QTest::newRow("manual") << u"keyContent"_s << QString() << u"Help/index.html"_s;
    const QString site = u"http://www.quendra.example.com/"_s;
    QTest::newRow("home page") << u"keyHomePage"_s << QString() << site;
    QTest::newRow("contact") << u"keyContact"_s << QString() << site + u"contact.php"_s;
}

void TestCommands::commandsOpenTheirWindowsAndPages()
{
    QFETCH(QString, key);
    QFETCH(QString, modal);
    QFETCH(QString, opened);

    const QDir program(m_programFolder.path());
    QVERIFY(program.mkpath(u"Help"_s));
    QFile manual(program.filePath(u"Help/index.html"_s));
    QVERIFY(manual.open(QIODevice::WriteOnly));
    QString shown;
    // Queued only where a window will take it, so it cannot outlive this row.
    if (!modal.isEmpty())
        onNextModal(this, shown, [](QWidget *window) { window->close(); });
    m_app->main.menuItem(key)->trigger();
    QCOMPARE(shown, modal);
    if (opened.startsWith(u"Help/"))
        opened = QUrl::fromLocalFile(program.filePath(opened)).toString();
    QCOMPARE(m_opened, opened.isEmpty() ? QStringList() : QStringList{opened});
}

void TestCommands::moduleInformationShowsTheBankEachTime()
{
    for (int opening = 1; opening <= 2; ++opening) {
        QString shown;
        onNextModal(this, shown, [this](QWidget *frInfo) {
            QCOMPARE(frInfo->windowTitle(),
                     u"Test Info: Exam #512-330, NTCX Certified Network Associate"_s);
            QCOMPARE(frInfo->findChild<QTreeWidget *>(u"lvObjective"_s)->topLevelItemCount(), 3);
            // Empty notes leave the blank line after the description.
            QCOMPARE(frInfo->findChild<QPlainTextEdit *>(u"txInfo"_s)->toPlainText(),
                     u"Eight <b>questions</b>.\n\n"_s);
            frInfo->close();
        });
        m_app->main.menuItem(u"keyInfo"_s)->trigger();
        QCOMPARE(shown, u"frInfo"_s);
    }
}

void TestCommands::fontSizeReachesTheItemAndTheNextTest()
{
    click(m_app->road->startWindow(), u"cmStudy"_s);
    click(m_app->road->readyWindow(), u"cmStart"_s);
    m_app->main.menuItem(u"keyVLarge"_s)->trigger();
    TestWindow *test = m_app->road->testWindow();
    QCOMPARE(test->findChild<QLabel *>(u"lbQuestion"_s)->font().pointSize(), 14);
    QCOMPARE(element<QRadioButton>(test, u"opChc"_s, 1)->font().pointSize(), 14);

    // The next test window starts at the size chosen.
    m_app->boxes.answerNext(MessageButton::Yes);
    click(test, u"cmEnd"_s);
    m_app->boxes.answerNext(MessageButton::Yes);
    click(m_app->road->scoreReport(), u"cmMain"_s);
    click(m_app->road->startWindow(), u"cmStudy"_s);
    click(m_app->road->readyWindow(), u"cmStart"_s);
    QCOMPARE(m_app->road->testWindow()->findChild<QLabel *>(u"lbQuestion"_s)->font().pointSize(),
             14);
}

// Custom Mode, untimed; Options turns the timer on for five minutes.
void TestCommands::optionsTurnTheTimerOnInACustomTest()
{
    openCustom();
    setChecked(custom(), u"ckTimer"_s, false);
    setChecked(custom(), u"ckAnsBtn"_s, false);
    click(custom(), u"cmdCustomOK"_s);
    click(m_app->road->readyWindow(), u"cmStart"_s);
    TestWindow *test = m_app->road->testWindow();
    auto *lbTime = test->findChild<QLabel *>(u"lbTime"_s);
    QCOMPARE(lbTime->text(), u"Time Left: 59:59:59"_s);
    QAction *options = m_app->main.menuItem(u"keyOption"_s);
    QVERIFY(options->isEnabled());

    m_app->clock.advanceSecs(600);
    QString shown;
    onNextModal(this, shown, [](QWidget *frOption) {
        frOption->findChild<QCheckBox *>(u"ckTimer"_s)->setChecked(true);
        frOption->findChild<QCheckBox *>(u"ckAnsBtn"_s)->setChecked(true);
        auto *duration = frOption->findChild<QLineEdit *>(u"txDuration"_s);
        QCOMPARE(duration->text(), u"90"_s);
        // Refused, and the window stays for another try.
        duration->setText(u"0"_s);
        click(frOption, u"cmOK"_s);
        QCOMPARE(duration->text(), u"1"_s);
        QVERIFY(frOption->isVisible());
        duration->setText(u"5"_s);
        click(frOption, u"cmOK"_s);
    });
    options->trigger();
    QCOMPARE(shown, u"frOption"_s);
    QCOMPARE(m_app->boxes.shown.size(), 1); // the refusal; its text is the engine's (tst_custom)
    QCOMPARE(lbTime->text(), u"Time Left: 00:05:00"_s);
    QVERIFY(test->findChild<QPushButton *>(u"cmAnswer"_s)->isEnabled());
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
