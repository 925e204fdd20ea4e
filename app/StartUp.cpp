#include "StartUp.h"

#include "AppContext.h"
#include "HistoryCommands.h"
#include "MainWindow.h"
#include "MenuCommands.h"
#include "SplashWindow.h"
#include "TestRoad.h"
#include "UserName.h"
#include "UserSettings.h"

#include "common/ErrorReport.h"
#include "common/MessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QProgressBar>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

#include <unistd.h>

std::optional<ScreenInfo> screenOf(const QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return std::nullopt;
    return ScreenInfo{screen->geometry().width(), screen->geometry().height(), screen->depth(),
                      screen->devicePixelRatio()};
}

bool GetDisplay(const std::optional<ScreenInfo> &screen)
{
    if (!screen) {
        ShowErrorReport({QStringLiteral("No display could be found."), 0,
                         QStringLiteral("Procedure Name: GetDisplay")});
        return false;
    }
    // A scaled desktop still has all its pixels: 1280 x 1024 at 200 % is 640 x 512 scaled.
    const auto devicePixels = [&](int scaled) { return qRound(scaled * screen->devicePixelRatio); };
    if (devicePixels(screen->width) >= 800 && devicePixels(screen->height) >= 600 &&
        screen->bitsPerPixel >= 8)
        return true;
    showMessage(QStringLiteral("Incorrect Display Settings!"),
                QStringLiteral("Sorry! Quendra requires minimum display of 800x600 pixels and 256 "
                               "colors to function properly.\n\n"
                               "Please change your display settings first.\n\n"
                               "Terminating Quendra now..."),
                MessageIcon::Warning, MessageButtons::Ok);
    return false;
}

QString defaultInstanceLockPath()
{
    // One lock per user: another user's copy on the same machine does not count. It goes
    // in the first of these folders that is there to take it; TMPDIR may name anything.
    const QString name = QStringLiteral("/quendra-%1.lock").arg(getuid());
    // The runtime folder is read as it is: asking Qt for it would create a missing one.
    for (const QString &folder :
         {qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath(), QStringLiteral("/tmp")}) {
        const QFileInfo info(folder);
        if (!folder.isEmpty() && info.isDir() && info.isWritable())
            return folder + name;
    }
    return QDir::tempPath() + name;
}

QString runningProgramFolder()
{
    // Where QCoreApplication::applicationDirPath looks too.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

QString programFolderOf(const QString &runningFolder)
{
    // Told by the folder's name alone: nothing more is read on the way to the start screen.
    if (!runningFolder.endsWith(QStringLiteral("/" QUENDRA_INSTALL_BINDIR)))
        return runningFolder;
    return QDir::cleanPath(runningFolder + QStringLiteral("/" QUENDRA_INSTALLED_PROGRAM_FOLDER));
}

bool isWritableFolder(const QString &folder)
{
    return access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

QString defaultUserFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

QString moduleFolderOf(const QString &programFolder)
{
    return programFolder + QStringLiteral("/Module/");
}

QString testDbPathOf(const QString &programFolder)
{
    return moduleFolderOf(programFolder) + QStringLiteral("512-330.qdb");
}

StartUp::StartUp(AppContext &context, StartUpSettings settings)
    : m_context(context), m_settings(std::move(settings))
{}

StartUp::~StartUp() = default;

bool StartUp::run()
{
    if (!claimSingleInstance())
        return fail();
    setPaths();

    m_splash = std::make_unique<SplashWindow>();
    m_splash->showCentred();

    if (!GetDisplay(m_settings.screen(m_splash.get())))
        return fail();

    if (!loadMainWindow())
        return fail();

    // Gone rather than hidden: nothing shows it again, and its window and pictures would
    // stay in memory beside the main window's.
    m_splash->hide();
    m_splash.reset();
    // The main window appears once it has loaded, with the start screen already in it: one
    // first paint instead of an empty frame painted behind the splash and then again.
    // Where the person left it, unless that place is gone.
    if (m_context.userSettings &&
        m_main->restoreGeometry(
            m_context.userSettings->value(UserSettings::geometryKey()).toByteArray()))
        m_main->show();
    else
        m_main->showCentred();
    m_main->showScreen(m_main->screenArea()->findChild<QWidget *>(QStringLiteral("frStart")));
    return true;
}

bool StartUp::fail()
{
    m_exitCode = failedExitCode;
    return false;
}

bool StartUp::claimSingleInstance()
{
    m_instanceLock = std::make_unique<QLockFile>(m_settings.instanceLockPath);
    // A lock is stale only when the copy that holds it no longer runs, however old it is.
    m_instanceLock->setStaleLockTime(0);
    if (m_instanceLock->tryLock())
        return true;
    // A lock that cannot be made at all says nothing about another copy.
    if (m_instanceLock->error() != QLockFile::LockFailedError)
        return true;
    showMessage(QStringLiteral("Multiple Instances"),
                QStringLiteral("Another instance of Quendra NTCX 512-330 has been running.\n"
                               "You can only run one instance of the program at a time."),
                MessageIcon::Information, MessageButtons::Ok);
    return false;
}

void StartUp::setPaths()
{
    m_context.programFolder = m_settings.programFolder;
    if (m_settings.modulePath.isEmpty()) {
        m_context.moduleFolder = moduleFolderOf(m_context.programFolder);
        m_context.testDbPath = testDbPathOf(m_context.programFolder);
    } else {
        const QFileInfo module(m_settings.modulePath);
        m_context.moduleFolder = module.absolutePath() + QLatin1Char('/');
        m_context.testDbPath = module.absoluteFilePath();
    }
    // An installed program, or a module on a read-only disc, cannot take the files it
    // unpacks: they go to the user's own folder, which is made for them.
    m_context.tableFolder = m_context.moduleFolder;
    if (!m_settings.userFolder.isEmpty() && !m_settings.writable(m_context.tableFolder)) {
        m_context.tableFolder = moduleFolderOf(m_settings.userFolder);
        QDir().mkpath(m_context.tableFolder);
    }
    m_context.textFolder = m_context.programFolder;
    if (!m_settings.userFolder.isEmpty() && !m_settings.writable(m_context.textFolder)) {
        m_context.textFolder = m_settings.userFolder;
        QDir().mkpath(m_context.textFolder);
    }
    m_context.historyPath = defaultHistoryPath();
}

// The main window's loading: the remaining steps, while the splash stays in front.
bool StartUp::loadMainWindow()
{
    m_main = std::make_unique<MainWindow>();

    ShowProgress(20);
    m_main->BuildMenu();
    if (m_context.userSettings)
        m_main->setTestFontSize(m_context.userSettings->value(UserSettings::fontSizeKey()).toInt());

    ShowProgress(30);
    m_main->setStatusPanel(QStringLiteral("date"),
                           QLocale().toString(m_settings.now(), QLocale::ShortFormat));

    ShowProgress(40);
    if (!m_settings.module.unpackTest(m_context.testDbPath, m_context.tableFolder,
                                      m_context.textFolder, m_context.testFiles))
        return false;

    ShowProgress(50);
    if (!m_settings.module.loadTest(m_context.testFiles, m_context.tableFolder, m_context.bank))
        return false;

    ShowProgress(60);
    auto *road = new TestRoad(m_context, *m_main, currentUserName());
    new MenuCommands(m_context, *m_main, *road);
    new HistoryCommands(m_context, *m_main, *road, currentUserName());
    ShowProgress(100);
    return true;
}

void StartUp::ShowProgress(int value)
{
    // No eye follows a bar faster than the screen refreshes, and each paint goes to the
    // display server and back.
    constexpr qint64 frameMilliseconds = 16;
    QProgressBar *bar = m_splash->progressBar();
    const QDateTime now = m_settings.now();
    // Never painted, or a clock set back, counts as long ago.
    const qint64 sincePainted =
        m_progressPaintedAt.isValid() ? m_progressPaintedAt.msecsTo(now) : -1;
    if (sincePainted < 0 || sincePainted >= frameMilliseconds) {
        // The bar paints itself at once when its value moves it visibly.
        bar->setValue(value);
        m_progressPaintedAt = now;
        return;
    }
    bar->setUpdatesEnabled(false);
    bar->setValue(value);
    bar->setUpdatesEnabled(true);
}
