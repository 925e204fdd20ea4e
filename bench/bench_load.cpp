// Time of reading a test module at start-up, UnpackTest followed by LoadTest, on each
// archive named on the command line, next to its floor: reading the archive file and
// inflating its blocks with zlib alone. Prints the medians and their ratios.
//
//     bench_load <name>=<archive.qdb> ... [Google Benchmark options]
#include "common/MessageBoxes.h"
#include "moduledb/Archive.h"
#include "moduledb/LoadTest.h"
#include "moduledb/ModulePreload.h"
#include "moduledb/QuestionBank.h"
#include "moduledb/TableReader.h"
#include "moduledb/Unpack.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

// Any box would mean the module did not load; the benchmark then stops.
class FailingBoxes : public MessageBoxes
{
public:
    MessageButton show(const MessageBoxRequest &request) override
    {
        std::fprintf(stderr, "unexpected message: %s\n%s\n", qPrintable(request.title),
                     qPrintable(request.text));
        std::exit(1);
    }
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

struct Block
{
    qsizetype offset = 0;
    qsizetype storedBytes = 0;
    qint32 inflatedSize = 0;
};

// The blocks of an archive, found by walking its layout without the reader's code.
std::vector<Block> blocksOf(const QByteArray &archive)
{
    auto u8 = [&](qsizetype at) { return quint8(archive[at]); };
    auto i16 = [&](qsizetype at) { return qint16(u8(at) | u8(at + 1) << 8); };
    auto i32 = [&](qsizetype at) {
        return qint32(quint32(u8(at)) | quint32(u8(at + 1)) << 8 | quint32(u8(at + 2)) << 16 |
                      quint32(u8(at + 3)) << 24);
    };
    std::vector<Block> blocks;
    const int entries = i16(0);
    qsizetype at = 4 + i16(2);
    at += 1 + u8(at);
    at += 1 + u8(at);
    for (int e = 0; e < entries; ++e) {
        at += 1 + u8(at) + 16;
        for (qint32 stored = i32(at); stored != 0; stored = i32(at)) {
            blocks.push_back({at + 8, qsizetype(stored) + 1, i32(at + 4)});
            at += 8 + stored + 1;
        }
        at += 4;
    }
    return blocks;
}

void readArchiveFile(benchmark::State &state, const QString &path)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(readFile(path));
}

// zlib alone: every block inflated into a buffer that is already there.
void inflateBlocks(benchmark::State &state, const QString &path)
{
    const QByteArray archive = readFile(path);
    const std::vector<Block> blocks = blocksOf(archive);
    qint64 inflated = 0;
    for (const Block &block : blocks)
        inflated = std::max<qint64>(inflated, block.inflatedSize);
    std::vector<Bytef> output(std::size_t(inflated) + 1);
    for (auto _ : state) {
        for (const Block &block : blocks) {
            uLongf length = uLongf(output.size());
            if (uncompress(output.data(), &length,
                           reinterpret_cast<const Bytef *>(archive.constData() + block.offset),
                           uLong(block.storedBytes)) != Z_OK)
                state.SkipWithError("a block does not inflate");
        }
        benchmark::ClobberMemory();
    }
}

// A scratch program folder with a copy of the archive in its module folder.
struct ScratchModule
{
    QTemporaryDir program;
    QString moduleFolder = program.filePath(QStringLiteral("Module/"));
    QString archivePath = moduleFolder + QStringLiteral("512-330.qdb");

    explicit ScratchModule(const QString &path)
    {
        QDir().mkpath(moduleFolder);
        QFile::copy(path, archivePath);
    }
};

// What start-up does: unpack into the module folder, then load and delete the table files.
void unpackAndLoad(benchmark::State &state, const QString &path)
{
    const ScratchModule scratch(path);
    for (auto _ : state) {
        OneBasedArray<QString> testFiles;
        QuestionBank bank;
        if (!UnpackTest(scratch.archivePath, scratch.moduleFolder, scratch.program.path(),
                        testFiles) ||
            !LoadTest(testFiles, scratch.moduleFolder, bank))
            state.SkipWithError("the module does not load");
        benchmark::DoNotOptimize(bank);
    }
}

// What start-up itself still does once the module has been read ahead on its own thread
// (untimed here): write the entry files, then take the bank and delete the files.
void readAheadSteps(benchmark::State &state, const QString &path)
{
    const ScratchModule scratch(path);
    for (auto _ : state) {
        state.PauseTiming();
        const std::unique_ptr<PreloadedModule> module = preloadModule(scratch.archivePath);
        state.ResumeTiming();
        OneBasedArray<QString> testFiles;
        QuestionBank bank;
        if (!module ||
            !UnpackTest(scratch.archivePath, scratch.moduleFolder, scratch.program.path(),
                        testFiles, &module->archive) ||
            !LoadTest(testFiles, scratch.moduleFolder, bank, module.get()))
            state.SkipWithError("the module does not load");
        benchmark::DoNotOptimize(bank);
    }
}

// The two halves in memory, without files: the archive to entries, the entries to a bank.
void parseOnly(benchmark::State &state, const QString &path)
{
    const QByteArray archive = readFile(path);
    for (auto _ : state)
        benchmark::DoNotOptimize(parseArchive(archive));
}

void loadOnly(benchmark::State &state, const QString &path)
{
    QList<TableFile> files;
    for (const UnpackedEntry &entry : parseArchive(readFile(path)).entries) {
        if (!isProgramFolderEntry(entry.name))
            files.append({entry.name, entry.content});
    }
    for (auto _ : state) {
        QuestionBank bank;
        if (loadTables(files, bank))
            state.SkipWithError("the module does not load");
        benchmark::DoNotOptimize(bank);
    }
}

// Keeps the medians of the repetitions, for the table of ratios at the end.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
                cpuMedians[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;    // milliseconds of wall time
    std::map<std::string, double> cpuMedians; // milliseconds of processor time
};

const char *const stepNames[] = {"read", "inflate", "unpack+load", "parse", "load", "ahead"};

void printTable(const char *title, const std::vector<std::string> &modules,
                const std::map<std::string, double> &medians)
{
    std::printf("\nModule loading, medians of %s in ms\n", title);
    std::printf("%-10s %8s %8s %8s %12s %8s %8s %10s %8s\n", "module", "read", "inflate", "floor",
                "unpack+load", "parse", "load", "vs floor", "ahead");
    for (const std::string &module : modules) {
        auto median = [&](const char *step) {
            const auto found = medians.find(std::string(step) + "/" + module);
            return found == medians.end() ? 0.0 : found->second;
        };
        const double floor = median("read") + median("inflate");
        std::printf("%-10s %8.3f %8.3f %8.3f %12.3f %8.3f %8.3f %9.2fx %8.3f\n", module.c_str(),
                    median("read"), median("inflate"), floor, median("unpack+load"),
                    median("parse"), median("load"),
                    floor > 0 ? median("unpack+load") / floor : 0.0, median("ahead"));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // The benchmark's own options first: they are taken out of the arguments.
    benchmark::Initialize(&argc, argv);
    QCoreApplication application(argc, argv);
    FailingBoxes boxes;
    MessageBoxes::install(&boxes);

    std::vector<std::string> modules;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            std::fprintf(stderr, "usage: bench_load <name>=<archive.qdb> ...\n");
            return 2;
        }
        const std::string name = argument.left(equals).toStdString();
        const QString path = argument.mid(equals + 1);
        if (!QFile::exists(path)) {
            std::fprintf(stderr, "%s: not found\n", qPrintable(path));
            return 2;
        }
        modules.push_back(name);
        const auto add = [&](const char *step,
                             void (*function)(benchmark::State &, const QString &)) {
            benchmark::RegisterBenchmark((std::string(step) + "/" + name).c_str(), function, path)
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.2)
                ->Repetitions(15)
                ->ReportAggregatesOnly(true);
        };
        add(stepNames[0], readArchiveFile);
        add(stepNames[1], inflateBlocks);
        add(stepNames[2], unpackAndLoad);
        add(stepNames[3], parseOnly);
        add(stepNames[4], loadOnly);
        add(stepNames[5], readAheadSteps);
    }
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printTable("wall time", modules, reporter.medians);
    // On a busy machine the processor time is the steadier figure.
    printTable("processor time", modules, reporter.cpuMedians);
    benchmark::Shutdown();
    return 0;
}
