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

class TestStartUp : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Start-up in a scratch folder, on a screen that passes, with module steps that read
    // nothing and succeed.
    void init()
    {
        m_context.emplace();
        m_folder.emplace();
        m_boxes.reset(); // the old fake puts back what it replaced first
        m_boxes.emplace();
        m_settings = StartUpSettings();
        m_settings.programFolder = m_folder->path();
        m_settings.instanceLockPath = m_folder->filePath(u"instance.lock"_s);
        m_settings.screen = [](const QWidget *) { return ScreenInfo{1024, 768, 24}; };
        m_settings.now = [] { return QDateTime(QDate(2026, 12, 6), QTime(18, 40)); };
        m_settings.module = {
            [](const QString &, const QString &, const QString &, OneBasedArray<QString> &) {
                return true;
            },
            [](const OneBasedArray<QString> &, const QString &, QuestionBank &) { return true; }};
    }

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

        m_settings.screen = [screen](const QWidget *) { return screen; };
        bool unpacked = false;
        m_settings.module.unpackTest = [&](const QString &, const QString &, const QString &,
                                           OneBasedArray<QString> &) { return unpacked = true; };
        StartUp startUp(*m_context, m_settings);

        const bool passes = boxes.isEmpty();
        QCOMPARE(startUp.run(), passes);
        QCOMPARE(startUp.exitCode(), passes ? 0 : StartUp::failedExitCode);
        QCOMPARE(m_boxes->shown, boxes);
        QCOMPARE(unpacked, passes);
        QCOMPARE(startUp.mainWindow() != nullptr, passes);
    }

    void theModuleIsReadAfterTheMenuAndBeforeTheStartScreen()
    {
        std::unique_ptr<StartUp> startUp;
        int progress = 0;
        m_settings.screen = [&](const QWidget *splash) {
            QObject::connect(splash->findChild<QProgressBar *>(u"pbStart"_s),
                             &QProgressBar::valueChanged, [&](int value) { progress = value; });
            return ScreenInfo{1024, 768, 24};
        };
        QString dateBeforeModule;
        m_settings.module.unpackTest = [&](const QString &, const QString &, const QString &,
                                           OneBasedArray<QString> &) {
            const MainWindow *main = startUp->mainWindow();
            if (main->menuItem(u"keyExit"_s))
                dateBeforeModule = main->statusPanelText(u"date"_s);
            return true;
        };
        startUp = std::make_unique<StartUp>(*m_context, m_settings);

        QVERIFY(startUp->run());
        QCOMPARE(dateBeforeModule, QLocale().toString(m_settings.now(), QLocale::ShortFormat));
        QVERIFY(m_boxes->shown.isEmpty());
        QCOMPARE(progress, 100);
        // Its work done, the splash is gone; the main window shows the start screen.
        QVERIFY(!startUp->splashWindow());
        QVERIFY(startUp->mainWindow()->findChild<QWidget *>(u"frStart"_s)->isVisible());
    }

    void aCloseConfirmedDuringStartUpEndsTheProgram()
    {
        m_boxes->answerNext(MessageButton::Ok);
        std::unique_ptr<StartUp> startUp;
        // The reader lets pending events through while it unpacks: among them the close button.
        m_settings.module.unpackTest = [&](const QString &, const QString &, const QString &,
                                           OneBasedArray<QString> &) {
            startUp->mainWindow()->close();
            return true;
        };
        startUp = std::make_unique<StartUp>(*m_context, m_settings);
        QVERIFY(startUp->run());
        QCOMPARE(m_boxes->shown.size(), 1);

        QTimer::singleShot(5000, [] { QCoreApplication::exit(2); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    void aSecondCopyIsRefusedAndTheFirstKeepsRunning()
    {
        auto first = std::make_unique<StartUp>(*m_context, m_settings);
        QVERIFY(first->run());

        AppContext secondContext;
        StartUp second(secondContext, m_settings);
        QVERIFY(!second.run());
        QCOMPARE(second.exitCode(), StartUp::failedExitCode);
        QCOMPARE(m_boxes->shown,
                 (QList<MessageBoxRequest>{
                     {u"Multiple Instances"_s,
                      u"Another instance of Quendra NTCX 512-330 has been running.\n"
                      u"You can only run one instance of the program at a time."_s,
                      MessageIcon::Information, MessageButtons::Ok}}));
        QVERIFY(!second.splashWindow());
        QVERIFY(first->mainWindow()->isVisible());

        // Once the first copy has ended, the next one starts.
        first.reset();
        AppContext thirdContext;
        StartUp third(thirdContext, m_settings);
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

        const QString root = m_folder->path() + u'/';
        m_settings.programFolder = root + u"program"_s;
        m_settings.userFolder = root + u"user"_s;
        m_settings.modulePath = modulePath.isEmpty() ? QString() : root + modulePath;
        m_settings.writable = [&](const QString &path) {
            return !readOnly.contains(path.mid(root.size()));
        };
        QStringList unpackedTo;
        m_settings.module.unpackTest = [&](const QString &archive, const QString &destination,
                                           const QString &program, OneBasedArray<QString> &) {
            unpackedTo = {archive, destination, program};
            return true;
        };
        StartUp startUp(*m_context, m_settings);
        QVERIFY(startUp.run());

        const QString archive =
            modulePath.isEmpty() ? root + u"program/Module/512-330.qdb"_s : root + modulePath;
        QCOMPARE(unpackedTo, (QStringList{archive, root + tableFolder, root + textFolder}));
        QCOMPARE(m_context->moduleFolder, QFileInfo(archive).path() + u'/');
        // The user's folder is made when it is needed, and only then.
        QCOMPARE(QFileInfo(root + u"user"_s).isDir(), (tableFolder + textFolder).contains(u"user"));
    }

    // The font size, the last Custom settings and the window's place come back next run.
    void keptSettingsAreRestoredAndANewFontSizeIsKept()
    {
        QSettings kept(m_folder->filePath(u"quexam.conf"_s), QSettings::IniFormat);
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
        m_context->userSettings = &kept;
        StartUp startUp(*m_context, m_settings);
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

        main->EnableTestMenus(m_context->state);
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

        m_settings.instanceLockPath = u"/nonexistent/quendra.lock"_s;
        StartUp startUp(*m_context, m_settings);
        QVERIFY(startUp.run());
        QCOMPARE(m_boxes->shown, QList<MessageBoxRequest>());
    }

private:
    std::optional<AppContext> m_context;
    std::optional<QTemporaryDir> m_folder;
    std::optional<FakeMessageBoxes> m_boxes;
    StartUpSettings m_settings;
};

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
