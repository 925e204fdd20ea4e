#pragma once

#include "common/OneBasedArray.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

struct AppContext;
struct QuestionBank;
class MainWindow;
class ModulePreload;
class QLockFile;
class QWidget;
class SplashWindow;

// What the display check reads of the screen: its size in the scaled pixels windows are
// laid out in, and how many of the screen's own pixels make one of them.
struct ScreenInfo
{
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    double devicePixelRatio = 1.0;
};

// The screen the window is on; nothing when there is no screen at all.
std::optional<ScreenInfo> screenOf(const QWidget *window);

// The display check: at least 800 x 600 of the screen's own pixels and 256 colours, else
// the warning box.
// Without a screen to read, the error report of GetDisplay; the check then fails.
bool GetDisplay(const std::optional<ScreenInfo> &screen);

// The module reader's steps, replaceable so that start-up can be tested on its own.
struct ModuleSteps
{
    std::function<bool(const QString &archivePath, const QString &destinationFolder,
                       const QString &programFolder, OneBasedArray<QString> &testFiles)>
        unpackTest;
    std::function<bool(const OneBasedArray<QString> &testFiles, const QString &moduleFolder,
                       QuestionBank &bank)>
        loadTest;
};

// The steps of the real module reader; with readAhead, they take the module it has read
// when the archive is unchanged.
ModuleSteps moduleReaderSteps(ModulePreload *readAhead = nullptr);

// The folder of the running program, known before the application object exists (empty
// where the system does not tell).
QString runningProgramFolder();

// The program folder that holds Module/ and Help/: the folder of the running program, or,
// for a program installed into its bin/ folder, the installed share/quendra/ folder.
QString programFolderOf(const QString &runningFolder);

// The paths of the test module, from the program folder.
QString moduleFolderOf(const QString &programFolder);
QString testDbPathOf(const QString &programFolder);

// Whether this user may create and delete files in folder.
bool isWritableFolder(const QString &folder);

// The user's own folder for what an installed program cannot write beside itself.
QString defaultUserFolder();

struct StartUpSettings
{
    QString programFolder;
    // A module to open instead of the bundled one; its pictures and exhibits sit beside it.
    QString modulePath;
    // Where the unpacked files go when the program or module folder cannot be written;
    // without one they are written where they belong, or start-up says why not.
    QString userFolder;
    std::function<bool(const QString &folder)> writable = isWritableFolder;
    // The lock file that keeps a second copy of the program from starting.
    QString instanceLockPath;
    std::function<std::optional<ScreenInfo>(const QWidget *splash)> screen = screenOf;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    ModuleSteps module;
};

// The lock file of the user's running copy, in the user's temporary folder.
QString defaultInstanceLockPath();

// Brings the program up: single instance, paths, splash, display check, main window, the
// module, the screens and finally the start screen. Owns the windows it creates and the
// instance lock for as long as the program runs.
class StartUp
{
public:
    static constexpr int failedExitCode = 1;

    StartUp(AppContext &context, StartUpSettings settings);
    ~StartUp();

    // True when the start screen is shown; false when the program must end with exitCode().
    bool run();
    int exitCode() const { return m_exitCode; }

    MainWindow *mainWindow() const { return m_main.get(); }
    // The splash while start-up runs, and after a start-up that failed; nothing after one
    // that succeeded.
    SplashWindow *splashWindow() const { return m_splash.get(); }

    // Sets the splash's progress bar. The bar is painted at once at most once a frame:
    // quicker steps are painted with the splash at its next chance.
    void ShowProgress(int value);

private:
    bool fail();
    bool claimSingleInstance();
    void setPaths();
    bool loadMainWindow();

    AppContext &m_context;
    StartUpSettings m_settings;
    int m_exitCode = 0;
    std::unique_ptr<QLockFile> m_instanceLock;
    std::unique_ptr<SplashWindow> m_splash;
    std::unique_ptr<MainWindow> m_main;
    QDateTime m_progressPaintedAt;
};
