#include "ErrorReportBox.h"
#include "FakeMessageBoxes.h"
#include "Widgets.h"
#include "app/AppContext.h"
#include "app/CommandLine.h"
#include "app/CustomWindow.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "app/UserSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Start-up in a scratch folder, on a screen that passes, with module steps that read
// nothing and succeed.
StartUpSettings fakeSettings(const QTemporaryDir &folder)
{
    StartUpSettings settings;
    settings.programFolder = folder.path();
    settings.instanceLockPath = folder.filePath(u"instance.lock"_s);
    settings.screen = [](const QWidget *) { return ScreenInfo{1024, 768, 24}; };
    settings.now = [] { return QDateTime(QDate(2026, 12, 6), QTime(18, 40)); };
    settings.module = {
        [](const QString &, const QString &, const QString &, OneBasedArray<QString> &) {
            return true;
        },
        [](const OneBasedArray<QString> &, const QString &, QuestionBank &) { return true; }};
    return settings;
}

} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void displayCheck_data()
    {
        QTest::addColumn<std::optional<ScreenInfo>>("screen");
        QTest::addColumn<QList<MessageBoxRequest>>("boxes");

        const QList<MessageBoxRequest> tooSmall = {
            {u"Incorrect Display Settings!"_s,
             u"Sorry! Quendra requires minimum display of 800x600 pixels and 256 colors to "
             u"function properly.\n\nPlease change your display settings first.\n\n"
             u"Terminating Quendra now..."_s,
             MessageIcon::Warning, MessageButtons::Ok}};
        QTest::newRow("800 x 600 at 8 bits")
            << std::optional(ScreenInfo{800, 600, 8}) << QList<MessageBoxRequest>();
        QTest::newRow("799 wide") << std::optional(ScreenInfo{799, 600, 32}) << tooSmall;
        QTest::newRow("599 high") << std::optional(ScreenInfo{800, 599, 32}) << tooSmall;
        QTest::newRow("640 x 512 scaled at 200 %")
            << std::optional(ScreenInfo{640, 512, 24, 2.0}) << QList<MessageBoxRequest>();
        QTest::newRow("532 x 400 scaled at 150 %")
            << std::optional(ScreenInfo{532, 400, 24, 1.5}) << tooSmall;
        QTest::newRow("16 colours") << std::optional(ScreenInfo{800, 600, 4}) << tooSmall;
        QTest::newRow("no screen") << std::optional<ScreenInfo>()
                                   << QList{errorReportBox({u"No display could be found."_s, 0,
                                                            u"Procedure Name: GetDisplay"_s})};
    }

    // A failed check ends start-up before the main window and the module.
    void displayCheck()
    {
        QFETCH(std::optional<ScreenInfo>, screen);
        QFETCH(QList<MessageBoxRequest>, boxes);

        FakeMessageBoxes fake;
        QTemporaryDir folder;
        AppContext context;
        StartUpSettings settings = fakeSettings(folder);
        settings.screen = [screen](const QWidget *) { return screen; };
        bool unpacked = false;
        settings.module.unpackTest = [&](const QString &, const QString &, const QString &,
                                         OneBasedArray<QString> &) { return unpacked = true; };
        StartUp startUp(context, settings);

        const bool passes = boxes.isEmpty();
        QCOMPARE(startUp.run(), passes);
        QCOMPARE(startUp.exitCode(), passes ? 0 : StartUp::failedExitCode);
        QCOMPARE(fake.shown, boxes);
        QCOMPARE(unpacked, passes);
        QCOMPARE(startUp.mainWindow() != nullptr, passes);
    }

    void theModuleIsReadAfterTheMenuAndBeforeTheStartScreen()
    {
        FakeMessageBoxes boxes;
        QTemporaryDir folder;
        AppContext context;
        StartUpSettings settings = fakeSettings(folder);
        std::unique_ptr<StartUp> startUp;
        int progress = 0;
        settings.screen = [&](const QWidget *splash) {
            QObject::connect(splash->findChild<QProgressBar *>(u"pbStart"_s),
                             &QProgressBar::valueChanged, [&](int value) { progress = value; });
            return ScreenInfo{1024, 768, 24};
        };
        QString dateBeforeModule;
        settings.module.unpackTest = [&](const QString &, const QString &, const QString &,
                                         OneBasedArray<QString> &) {
            const MainWindow *main = startUp->mainWindow();
            if (main->menuItem(u"keyExit"_s))
                dateBeforeModule = main->statusPanelText(u"date"_s);
            return true;
        };
        startUp = std::make_unique<StartUp>(context, settings);

        QVERIFY(startUp->run());
        QCOMPARE(dateBeforeModule, QLocale().toString(settings.now(), QLocale::ShortFormat));
        QVERIFY(boxes.shown.isEmpty());
        QCOMPARE(progress, 100);
        // Its work done, the splash is gone; the main window shows the start screen.
        QVERIFY(!startUp->splashWindow());
        QVERIFY(startUp->mainWindow()->findChild<QWidget *>(u"frStart"_s)->isVisible());
    }

    void aCloseConfirmedDuringStartUpEndsTheProgram()
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

    void aSecondCopyIsRefusedAndTheFirstKeepsRunning()
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
        QCOMPARE(boxes.shown, (QList<MessageBoxRequest>{
                                  {u"Multiple Instances"_s,
                                   u"Another instance of Quendra NTCX 512-330 has been running.\n"
                                   u"You can only run one instance of the program at a time."_s,
                                   MessageIcon::Information, MessageButtons::Ok}}));
        QVERIFY(!second.splashWindow());
        QVERIFY(first->mainWindow()->isVisible());

        // Once the first copy has ended, the next one starts.
        first.reset();
        AppContext thirdContext;
        StartUp third(thirdContext, fakeSettings(folder));
        QVERIFY(third.run());
    }

    void unpackedFilesGoToTheUserFolderWhenTheirFolderIsReadOnly_data()
    {
        QTest::addColumn<QString>("modulePath");
        QTest::addColumn<QStringList>("readOnly");
        QTest::addColumn<QString>("tableFolder");
        QTest::addColumn<QString>("textFolder");

        QTest::newRow("writable program folder")
            << QString() << QStringList() << u"program/Module/"_s << u"program"_s;
        QTest::newRow("installed") << QString() << QStringList{u"program"_s, u"program/Module/"_s}
                                   << u"user/Module/"_s << u"user"_s;
        QTest::newRow("module given beside its files")
            << u"disc/net.qdb"_s << QStringList{u"program"_s} << u"disc/"_s << u"user"_s;
    }

    // The archive and the pictures are read where they are; only what is written moves.
    void unpackedFilesGoToTheUserFolderWhenTheirFolderIsReadOnly()
    {
        QFETCH(QString, modulePath);
        QFETCH(QStringList, readOnly);
        QFETCH(QString, tableFolder);
        QFETCH(QString, textFolder);

        FakeMessageBoxes boxes;
        QTemporaryDir folder;
        const QString root = folder.path() + u'/';
        StartUpSettings settings = fakeSettings(folder);
        settings.programFolder = root + u"program"_s;
        settings.userFolder = root + u"user"_s;
        settings.modulePath = modulePath.isEmpty() ? QString() : root + modulePath;
        settings.writable = [&](const QString &path) {
            return !readOnly.contains(path.mid(root.size()));
        };
        QStringList unpackedTo;
        settings.module.unpackTest = [&](const QString &archive, const QString &destination,
                                         const QString &program, OneBasedArray<QString> &) {
            unpackedTo = {archive, destination, program};
            return true;
        };
        AppContext context;
        StartUp startUp(context, settings);
        QVERIFY(startUp.run());

        const QString archive =
            modulePath.isEmpty() ? root + u"program/Module/512-330.qdb"_s : root + modulePath;
        QCOMPARE(unpackedTo, (QStringList{archive, root + tableFolder, root + textFolder}));
        QCOMPARE(context.moduleFolder, QFileInfo(archive).path() + u'/');
        // The user's folder is made when it is needed, and only then.
        QCOMPARE(QFileInfo(root + u"user"_s).isDir(), (tableFolder + textFolder).contains(u"user"));
    }

    // The font size, the last Custom settings and the window's place come back next run.
    void keptSettingsAreRestoredAndANewFontSizeIsKept()
    {
        FakeMessageBoxes boxes;
        QTemporaryDir folder;
        QSettings kept(folder.filePath(u"quexam.conf"_s), QSettings::IniFormat);
        kept.setValue(UserSettings::fontSizeKey(), 14);
        CustomSettings custom;
        custom.opObjIndex = 1;
        custom.ckTimer = true;
        custom.txDuration = u"45"_s;
        UserSettings::storeCustom(kept, custom);
        const QRect place(120, 90, 900, 700);
        {
            QWidget placed;
            placed.setGeometry(place);
            kept.setValue(UserSettings::geometryKey(), placed.saveGeometry());
        }
        AppContext context;
        context.userSettings = &kept;
        StartUp startUp(context, fakeSettings(folder));
        QVERIFY(startUp.run());

        MainWindow *main = startUp.mainWindow();
        QCOMPARE(main->testFontSize(), 14);
        QCOMPARE(main->geometry(), place);
        // The custom settings screen is made when Custom Mode is first chosen.
        QVERIFY(!main->findChild<CustomWindow *>());
        click(main, u"cmCustom"_s);
        const CustomSettings shown = main->findChild<CustomWindow *>()->customSettings();
        QCOMPARE(shown.opObjIndex, 1);
        QVERIFY(shown.ckTimer && !shown.ckPrevious);
        QCOMPARE(shown.txDuration, u"45"_s);

        main->EnableTestMenus(context.state);
        main->menuItem(u"keySmall"_s)->trigger();
        QCOMPARE(kept.value(UserSettings::fontSizeKey()).toInt(), 8);
    }

    void programFolderOfAnInstalledProgram()
    {
        QCOMPARE(programFolderOf(u"/home/ann/quendra/build"_s), u"/home/ann/quendra/build"_s);
        QCOMPARE(programFolderOf(u"/usr/bin"_s), u"/usr/share/quendra"_s);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<QString>("modulePath");

        QTest::newRow("relative module") << QStringList{u"net.qdb"_s} << CommandLine::Action::Run
                                         << QDir::current().filePath(u"net.qdb"_s);
        QTest::newRow("platform's option")
            << QStringList{u"-platform"_s, u"offscreen"_s, u"/m/net.qdb"_s}
            << CommandLine::Action::Run << u"/m/net.qdb"_s;
        QTest::newRow("two modules")
            << QStringList{u"a.qdb"_s, u"b.qdb"_s} << CommandLine::Action::Refuse << QString();
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Action, action);
        QFETCH(QString, modulePath);

        const CommandLine commandLine = parseCommandLine(QStringList{u"quexam"_s} + arguments);
        QCOMPARE(commandLine.action, action);
        QCOMPARE(commandLine.modulePath, modulePath);
    }

    // TMPDIR may name a folder that is not there: the lock goes where it can be made, and a
    // lock that cannot be made at all is no reason to refuse to start.
    void aLockThatCannotBeMadeIsNoOtherCopy()
    {
        const QByteArray tmp = qgetenv("TMPDIR");
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", "/nonexistent");
        qunsetenv("XDG_RUNTIME_DIR");
        const QFileInfo lockFolder(QFileInfo(defaultInstanceLockPath()).path());
        qputenv("TMPDIR", tmp);
        qputenv("XDG_RUNTIME_DIR", runtime);
        QVERIFY(lockFolder.isDir() && lockFolder.isWritable());

        FakeMessageBoxes boxes;
        QTemporaryDir folder;
        StartUpSettings settings = fakeSettings(folder);
        settings.instanceLockPath = u"/nonexistent/quendra.lock"_s;
        AppContext context;
        StartUp startUp(context, settings);
        QVERIFY(startUp.run());
        QCOMPARE(boxes.shown, QList<MessageBoxRequest>());
    }
};

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
