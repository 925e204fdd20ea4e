// Time from process start to the start screen, and the peak resident memory there, of
// quexam on each module named on the command line, next to a bare Qt program that opens
// one main window of the same size. The programs run one after the other, in turns, each
// run in a scratch program folder with a fresh copy of a module folder, written to disk
// before the run, a pause for the last run to be cleared up, and a lock file of its own. The
// bare window gets the same preparation (with the first module) though it reads nothing:
// what runs just before a start moves the start-up by up to a third on a small machine, so
// both sides must have it alike. Prints the medians and their ratios to the bare window.
// With --floor, a program that shows a splash and a main window with one line of text each
// (bench_splashfloor) runs in the same turns: the closest any start-up like quexam's can get.
//
//     bench_startup --runs N --bare <bench_barewindow> [--floor <bench_splashfloor>]
//                   --quexam <quexam> <name>=<module folder> ...
//
// Both programs print "shown <steady clock ns> <VmHWM kB>" after their first paint and
// quit (quexam with --measure-startup); the time counts from just before the fork.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Sample
{
    double millis = 0;
    long peakKb = 0;   // VmHWM at the first paint
    long maxRssKb = 0; // ru_maxrss of the whole run
};

struct Program
{
    std::string label;
    std::string path;
    std::vector<std::string> arguments;
    QString programFolder; // scratch folder the program is copied into
    QString moduleSource;  // copied into programFolder/Module before each run
    std::vector<Sample> samples;
    int failures = 0;
};

long long steadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool copyFolder(const QString &from, const QString &to)
{
    QDir(to).removeRecursively();
    if (!QDir().mkpath(to))
        return false;
    for (const QString &name : QDir(from).entryList(QDir::Files)) {
        if (!QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name))
            return false;
    }
    return true;
}

// One run: fork, exec, wait for the "shown" line, then for the end of the process.
std::optional<Sample> runOnce(const Program &program, const std::string &lockPath)
{
    int output[2];
    if (pipe(output) != 0)
        return std::nullopt;
    const long long started = steadyNanoseconds();
    const pid_t child = fork();
    if (child == 0) {
        dup2(output[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        close(output[0]);
        close(output[1]);
        setenv("QUENDRA_INSTANCE_LOCK", lockPath.c_str(), 1);
        std::vector<char *> argv;
        argv.push_back(const_cast<char *>(program.path.c_str()));
        for (const std::string &argument : program.arguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.path.c_str(), argv.data());
        _exit(127);
    }
    close(output[1]);
    if (child < 0) {
        close(output[0]);
        return std::nullopt;
    }

    std::string text;
    std::optional<Sample> sample;
    pollfd wait{output[0], POLLIN, 0};
    while (!sample && poll(&wait, 1, 30000) > 0) {
        char buffer[256];
        const ssize_t count = read(output[0], buffer, sizeof buffer);
        if (count <= 0)
            break;
        text.append(buffer, std::size_t(count));
        long long shownAt = 0;
        long peak = 0;
        if (text.find('\n') != std::string::npos &&
            std::sscanf(text.c_str(), "shown %lld %ld", &shownAt, &peak) == 2)
            sample = Sample{double(shownAt - started) / 1e6, peak, 0};
    }
    close(output[0]);

    // A program that never showed its screen (a message box, say) is stopped.
    if (!sample)
        kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    for (int waited = 0; wait4(child, &status, WNOHANG, &usage) == 0; ++waited) {
        if (waited == 10000)
            kill(child, SIGKILL);
        usleep(1000);
    }
    if (sample)
        sample->maxRssKb = usage.ru_maxrss;
    return sample;
}

template <typename Value> Value median(std::vector<Value> values)
{
    if (values.empty())
        return Value();
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int usage()
{
    std::fprintf(stderr, "usage: bench_startup --runs N --bare <program> [--floor <program>] "
                         "--quexam <program> "
                         "<name>=<module folder> ...\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    int runs = 20;
    QString bare;
    QString floor;
    QString quexam;
    QStringList modules;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--runs") && i + 1 < args.size())
            runs = args[++i].toInt();
        else if (args[i] == QStringLiteral("--bare") && i + 1 < args.size())
            bare = args[++i];
        else if (args[i] == QStringLiteral("--floor") && i + 1 < args.size())
            floor = args[++i];
        else if (args[i] == QStringLiteral("--quexam") && i + 1 < args.size())
            quexam = args[++i];
        else if (args[i].contains(QLatin1Char('=')))
            modules.append(args[i]);
        else
            return usage();
    }
    if (runs < 1 || bare.isEmpty() || quexam.isEmpty() || modules.isEmpty())
        return usage();

    QTemporaryDir scratch;
    std::vector<Program> programs;
    // Each program runs from a folder of its own, as quexam finds its module beside itself.
    const auto addProgram = [&](const std::string &label, const QString &path,
                                const QString &folderName, std::vector<std::string> arguments,
                                const QString &moduleSource) {
        const QString folder = scratch.filePath(folderName);
        const QString copy = folder + QStringLiteral("/") + QFileInfo(path).fileName();
        if (!QDir().mkpath(folder) || !QFile::copy(path, copy)) {
            std::fprintf(stderr, "%s: cannot be copied\n", qPrintable(path));
            return false;
        }
        programs.push_back(
            {label, copy.toStdString(), std::move(arguments), folder, moduleSource, {}, 0});
        return true;
    };
    if (!addProgram("bare Qt window", bare, QStringLiteral("bare"), {},
                    modules.first().section(QLatin1Char('='), 1)))
        return 1;
    if (!floor.isEmpty() && !addProgram("splash and text floor", floor, QStringLiteral("floor"), {},
                                        modules.first().section(QLatin1Char('='), 1)))
        return 1;
    for (const QString &module : modules) {
        const QString name = module.section(QLatin1Char('='), 0, 0);
        if (!addProgram("quexam, " + name.toStdString(), quexam, QStringLiteral("quexam-") + name,
                        {"--measure-startup"}, module.section(QLatin1Char('='), 1)))
            return 1;
    }

    const char *platform = std::getenv("QT_QPA_PLATFORM");
    const char *display = std::getenv("DISPLAY");
    std::printf("Start-up to the start screen: %d runs of each program in turns, platform %s\n",
                runs,
                platform  ? platform
                : display ? "xcb"
                          : "(default)");
    std::fflush(stdout);

    // One run each first that is not counted: it fills the file cache.
    for (int round = -1; round < runs; ++round) {
        for (std::size_t k = 0; k < programs.size(); ++k) {
            // Each round starts with the next program, so no program always follows another.
            Program &program = programs[(k + std::size_t(round + 1)) % programs.size()];
            if (!copyFolder(program.moduleSource,
                            program.programFolder + QStringLiteral("/Module"))) {
                std::fprintf(stderr, "%s: cannot be copied\n", qPrintable(program.moduleSource));
                return 1;
            }
            // A module copied a moment ago is not what a user starts with: unwritten, it
            // would be flushed when the instance lock is synced. Not timed.
            sync();
            // The display server and the kernel are still clearing up after the last run for
            // a while; a start in the middle of that is slowed by whatever ran before it.
            usleep(300000);
            const std::string lock =
                scratch.filePath(QStringLiteral("run-%1.lock").arg(round + 2)).toStdString();
            const auto sample = runOnce(program, lock);
            if (!sample)
                ++program.failures;
            else if (round >= 0)
                program.samples.push_back(*sample);
        }
    }

    std::printf("%-24s %12s %8s %16s %8s %14s %6s\n", "program", "start-up ms", "ratio",
                "peak RSS kB", "ratio", "ru_maxrss kB", "fails");
    double bareMillis = 0;
    double barePeak = 0;
    for (const Program &program : programs) {
        std::vector<double> millis;
        std::vector<long> peaks;
        std::vector<long> maxRss;
        for (const Sample &sample : program.samples) {
            millis.push_back(sample.millis);
            peaks.push_back(sample.peakKb);
            maxRss.push_back(sample.maxRssKb);
        }
        const double medianMillis = median(millis);
        const double medianPeak = double(median(peaks));
        if (&program == &programs.front()) {
            bareMillis = medianMillis;
            barePeak = medianPeak;
        }
        std::printf("%-24s %12.1f %7.2fx %16.0f %7.2fx %14ld %6d\n", program.label.c_str(),
                    medianMillis, bareMillis > 0 ? medianMillis / bareMillis : 0.0, medianPeak,
                    barePeak > 0 ? medianPeak / barePeak : 0.0, median(maxRss), program.failures);
    }
    return 0;
}
