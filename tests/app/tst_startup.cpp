#include "FakeMessageBoxes.h"
#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "app/StartUp.h"
#include "moduledb/writer/ModuleWriter.h"

#include <QDir>
#include <QLockFile>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
#include <QtEndian>

namespace {
const ScreenInfo goodScreen{1024, 768, 24};

// A module of one objective and one question, enough for the reader to load.
QuestionBank smallBank()
{
    QuestionBank bank;
    bank.testInfo = {QStringLiteral("512-330"),
                     QStringLiteral("Networking"),
                     1,
                     700,
                     10,
                     1,
                     1,
                     QStringLiteral("1.0"),
                     QStringLiteral("2026"),
                     QStringLiteral("Sample"),
                     QStringLiteral("Notes")};
    bank.objectives.append({1, QStringLiteral("Addressing"), 1});
    bank.prompts.append({1, QStringLiteral(">")});
    bank.questionTypes.append({1, QStringLiteral("single"), QStringLiteral("Single Answer")});
    bank.questions.append({1,
                           QStringLiteral("Q0001     "),
                           1,
                           QStringLiteral("Which one?"),
                           1,
                           2,
                           1,
                           {},
                           {},
                           QStringLiteral("Because."),
                           QStringLiteral("RFC")});
    bank.choiceRows.append({1, 1, QStringLiteral("This one"), 0});
    bank.choiceRows.append({1, 2, QStringLiteral("That one"), 0});
    return bank;
}

// The program folder of a run: a scratch folder with Module/ holding the given archive.
struct ProgramFolder
{
    QTemporaryDir folder;

    QString path() const { return folder.path(); }
    QString moduleFolder() const { return folder.path() + QStringLiteral("/Module"); }
    void writeModule(const QByteArray &archive) const
    {
        QDir().mkpath(moduleFolder());
        QFile file(moduleFolder() + QStringLiteral("/512-330.qdb"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(archive);
    }
};

QString lockPath(const QTemporaryDir &folder)
{
    return folder.path() + QStringLiteral("/instance.lock");
}
} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void displayCheckThresholds_data();
    void displayCheckThresholds();
    void displayCheckWithoutAScreenReportsTheError();
    void aFailedDisplayCheckEndsBeforeTheMainWindow();
    void aCloseConfirmedDuringStartUpEndsTheProgram();
    void aSecondCopyIsRefusedAndTheFirstKeepsRunning();
    void aFailingModuleStepEndsStartUp_data();
    void aFailingModuleStepEndsStartUp();
    void theModuleLoadsAndLeavesNoTableFile();
    void aBadModuleGivesItsMessageAndEnds_data();
    void aBadModuleGivesItsMessageAndEnds();

private:
    StartUpSettings fakeSettings(const QTemporaryDir &folder) const;
};

StartUpSettings TestStartUp::fakeSettings(const QTemporaryDir &folder) const
{
    StartUpSettings settings;
    settings.programFolder = folder.path();
    settings.instanceLockPath = lockPath(folder);
    settings.screen = [](const QWidget *) { return goodScreen; };
    settings.now = [] { return QDateTime(QDate(2026, 12, 6), QTime(18, 40)); };
    settings.module = {
        [](const QString &, const QString &, const QString &, OneBasedArray<QString> &) {
            return true;
        },
        [](const OneBasedArray<QString> &, const QString &, QuestionBank &) { return true; }};
    return settings;
}

void TestStartUp::displayCheckThresholds_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bitsPerPixel");
    QTest::addColumn<bool>("passes");

    QTest::newRow("800 x 600 at 8 bits") << 800 << 600 << 8 << true;
    QTest::newRow("1920 x 1080 at 24 bits") << 1920 << 1080 << 24 << true;
    QTest::newRow("1024 x 480") << 1024 << 480 << 32 << false;
    QTest::newRow("799 wide") << 799 << 600 << 32 << false;
    QTest::newRow("599 high") << 800 << 599 << 32 << false;
    QTest::newRow("16 colours") << 800 << 600 << 4 << false;
}

void TestStartUp::displayCheckThresholds()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bitsPerPixel);
    QFETCH(bool, passes);

    FakeMessageBoxes boxes;
    QCOMPARE(GetDisplay(ScreenInfo{width, height, bitsPerPixel}), passes);
    if (passes) {
        QVERIFY(boxes.shown.isEmpty());
        return;
    }
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("Incorrect Display Settings!"));
    QCOMPARE(boxes.shown[0].text,
             QStringLiteral("Sorry! Quendra requires minimum display of 800x600 pixels and 256 "
                            "colors to function properly.\n\nPlease change your display settings "
                            "first.\n\nTerminating Quendra now..."));
    QCOMPARE(boxes.shown[0].icon, MessageIcon::Warning);
    QCOMPARE(boxes.shown[0].buttons, MessageButtons::Ok);
}

void TestStartUp::displayCheckWithoutAScreenReportsTheError()
{
    FakeMessageBoxes boxes;
    QVERIFY(!GetDisplay(std::nullopt));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("An error has occured"));
    QVERIFY(boxes.shown[0].text.endsWith(QStringLiteral("\nProcedure Name: GetDisplay")));
}

void TestStartUp::aFailedDisplayCheckEndsBeforeTheMainWindow()
{
    FakeMessageBoxes boxes;
    QTemporaryDir folder;
    AppContext context;
    StartUpSettings settings = fakeSettings(folder);
    settings.screen = [](const QWidget *) { return ScreenInfo{1024, 480, 32}; };
    bool unpacked = false;
    settings.module.unpackTest = [&](const QString &, const QString &, const QString &,
                                     OneBasedArray<QString> &) { return unpacked = true; };
    StartUp startUp(context, settings);

    QVERIFY(!startUp.run());
    QCOMPARE(startUp.exitCode(), StartUp::failedExitCode);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("Incorrect Display Settings!"));
    QVERIFY(!startUp.mainWindow());
    QVERIFY(!unpacked);
}

void TestStartUp::aCloseConfirmedDuringStartUpEndsTheProgram()
{
    FakeMessageBoxes boxes;
    boxes.answerNext(MessageButton::Ok);
    QTemporaryDir folder;
    AppContext context;
    StartUpSettings settings = fakeSettings(folder);
    std::unique_ptr<StartUp> startUp;
    // The reader lets pending events through while it unpacks: among them the close button.
    settings.module.unpackTest = [&](const QString &, const QString &, const QString &,
                                     OneBasedArray<QString> &) {
        startUp->mainWindow()->close();
        return true;
    };
    startUp = std::make_unique<StartUp>(context, settings);
    QVERIFY(startUp->run());
    QCOMPARE(boxes.shown.size(), 1);

    QTimer::singleShot(5000, [] { QCoreApplication::exit(2); });
    QCOMPARE(QCoreApplication::exec(), 0);
}

void TestStartUp::aSecondCopyIsRefusedAndTheFirstKeepsRunning()
{
    FakeMessageBoxes boxes;
    QTemporaryDir folder;
    AppContext firstContext;
    auto first = std::make_unique<StartUp>(firstContext, fakeSettings(folder));
    QVERIFY(first->run());

    AppContext secondContext;
    StartUp second(secondContext, fakeSettings(folder));
    QVERIFY(!second.run());
    QCOMPARE(second.exitCode(), StartUp::failedExitCode);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("Multiple Instances"));
    QCOMPARE(boxes.shown[0].text,
             QStringLiteral("Another instance of Quendra NTCX 512-330 has been running.\n"
                            "You can only run one instance of the program at a time."));
    QCOMPARE(boxes.shown[0].icon, MessageIcon::Information);
    QCOMPARE(boxes.shown[0].buttons, MessageButtons::Ok);
    QVERIFY(!second.splashWindow());
    QVERIFY(first->mainWindow()->isVisible());
    QVERIFY(QFile::exists(lockPath(folder)));

    // Once the first copy has ended, the next one starts.
    first.reset();
    AppContext thirdContext;
    StartUp third(thirdContext, fakeSettings(folder));
    QVERIFY(third.run());
}

void TestStartUp::aFailingModuleStepEndsStartUp_data()
{
    QTest::addColumn<bool>("unpackSucceeds");
    QTest::addColumn<bool>("loadSucceeds");
    QTest::addColumn<int>("lastProgress");

    QTest::newRow("unpacking fails") << false << true << 40;
    QTest::newRow("loading fails") << true << false << 50;
}

void TestStartUp::aFailingModuleStepEndsStartUp()
{
    QFETCH(bool, unpackSucceeds);
    QFETCH(bool, loadSucceeds);
    QFETCH(int, lastProgress);

    FakeMessageBoxes boxes;
    QTemporaryDir folder;
    AppContext context;
    StartUpSettings settings = fakeSettings(folder);
    bool loaded = false;
    settings.module.unpackTest = [&](const QString &, const QString &, const QString &,
                                     OneBasedArray<QString> &) { return unpackSucceeds; };
    settings.module.loadTest = [&](const OneBasedArray<QString> &, const QString &,
                                   QuestionBank &) {
        loaded = true;
        return loadSucceeds;
    };
    StartUp startUp(context, settings);

    QVERIFY(!startUp.run());
    QCOMPARE(startUp.exitCode(), StartUp::failedExitCode);
    QCOMPARE(loaded, unpackSucceeds);
    QCOMPARE(startUp.splashWindow()->progressBar()->value(), lastProgress);
    QVERIFY(!startUp.mainWindow()->findChild<QWidget *>(QStringLiteral("frStart")));
    // The reader shows its own message; start-up adds none.
    QVERIFY(boxes.shown.isEmpty());
}

void TestStartUp::theModuleLoadsAndLeavesNoTableFile()
{
    FakeMessageBoxes boxes;
    ProgramFolder program;
    program.writeModule(packArchive(bankEntries(smallBank()), {}));
    AppContext context;
    StartUpSettings settings = fakeSettings(program.folder);
    settings.module = moduleReaderSteps();
    StartUp startUp(context, settings);

    QVERIFY(startUp.run());
    QVERIFY(boxes.shown.isEmpty());
    QCOMPARE(context.testFiles.size(), 8);
    QCOMPARE(context.bank.questions.size(), 1);
    QCOMPARE(context.bank.questions[1].questionText, QStringLiteral("Which one?"));
    QCOMPARE(QDir(program.moduleFolder()).entryList(QDir::Files), QStringList({u"512-330.qdb"_s}));
}

void TestStartUp::aBadModuleGivesItsMessageAndEnds_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("expectedText");

    QTest::newRow("missing") << "missing"
                             << "\nFunction Name: UnpackTest";
    QTest::newRow("empty") << "empty"
                           << "\nError Description: Test database not found.\n"
                              "Error Number: 0\nFunction Name: UnpackTest";
    QTest::newRow("damaged") << "damaged" << u"Quendra cannot read the test database."_s;
}

void TestStartUp::aBadModuleGivesItsMessageAndEnds()
{
    QFETCH(QString, damage);
    QFETCH(QString, expectedText);

    FakeMessageBoxes boxes;
    ProgramFolder program;
    if (damage == u"empty"_s) {
        program.writeModule({});
    } else if (damage == u"damaged"_s) {
        // The last byte of the first block is its checksum: inflating it now fails.
        const QList<ArchiveEntry> entries = bankEntries(smallBank());
        QByteArray archive = packArchive(entries, {});
        const qsizetype blockStart = 6 + 1 + entries[0].name.size() + reservedBytes;
        const qint32 storedLength = qFromLittleEndian<qint32>(archive.constData() + blockStart);
        archive[blockStart + 8 + storedLength] =
            char(archive[blockStart + 8 + storedLength] ^ 0x5A);
        program.writeModule(archive);
    }
    AppContext context;
    StartUpSettings settings = fakeSettings(program.folder);
    settings.module = moduleReaderSteps();
    StartUp startUp(context, settings);

    QVERIFY(!startUp.run());
    QCOMPARE(startUp.exitCode(), StartUp::failedExitCode);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].icon, MessageIcon::Critical);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("An error has occured"));
    QVERIFY2(boxes.shown[0].text.contains(expectedText), qPrintable(boxes.shown[0].text));
    QVERIFY(!startUp.mainWindow()->findChild<QWidget *>(QStringLiteral("frStart")));
}

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
