#include "FakeMessageBoxes.h"
#include "SampleModule.h"
#include "moduledb/LoadTest.h"
#include "moduledb/ModulePreload.h"
#include "moduledb/Unpack.h"
#include "moduledb/writer/ModuleWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

QList<ArchiveEntry> sampleEntries(const QuestionBank &bank = sampleBank())
{
    QList<ArchiveEntry> entries = bankEntries(bank);
    entries.append(ArchiveEntry{"readme.txt", "Read me first."});
    return entries;
}

// What a start-up's module steps leave: the boxes shown, the bank, the files.
struct Outcome
{
    bool loaded = false;
    QuestionBank bank;
    QList<MessageBoxRequest> boxes;
    QStringList moduleFiles;
};

// A program folder with its module folder and archive.
struct ProgramFolder
{
    QTemporaryDir root;
    QString module = root.filePath(u"Module"_s);
    QString archive = module + u"/512-330.qdb"_s;

    explicit ProgramFolder(const QList<ArchiveEntry> &entries) { write(entries); }

    // Through a new file, as a copy or an update would replace it.
    void write(const QList<ArchiveEntry> &entries) const
    {
        QDir().mkpath(module);
        QFile file(archive + u".new"_s);
        if (file.open(QIODevice::WriteOnly))
            file.write(packArchive(entries, ArchiveLayout()));
        file.close();
        QFile::remove(archive);
        QFile::rename(file.fileName(), archive);
    }

    // Unpacks and loads, with what was read ahead when given; betweenSteps runs after
    // unpacking.
    Outcome unpackAndLoad(PreloadedModule *readAhead,
                          const std::function<void()> &betweenSteps = {}) const
    {
        FakeMessageBoxes boxes;
        Outcome outcome;
        OneBasedArray<QString> testFiles;
        if (UnpackTest(archive, module, root.path(), testFiles,
                       readAhead ? &readAhead->archive : nullptr)) {
            if (betweenSteps)
                betweenSteps();
            outcome.loaded = LoadTest(testFiles, module, outcome.bank, readAhead);
        }
        outcome.boxes = boxes.shown;
        outcome.moduleFiles = filesIn(module);
        return outcome;
    }
};

} // namespace

class TestModulePreload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readAheadLoadsWhatTheTableFilesHold_data()
    {
        QTest::addColumn<QList<ArchiveEntry>>("entries");
        QTest::addColumn<bool>("tablesLoaded");
        const QList<ArchiveEntry> sample = sampleEntries();
        QTest::newRow("sample") << sample << true;
        QList<ArchiveEntry> readmeFirst = sample;
        readmeFirst.move(readmeFirst.size() - 1, 0);
        QTest::newRow("readme first") << readmeFirst << false;
        // The later entry replaces the file of the earlier one.
        QList<ArchiveEntry> twice = sample;
        twice.insert(5, twice[1]);
        twice[5].content = encodeTable(OneBasedArray<Objective>());
        QTest::newRow("same name twice") << twice << false;
    }
    void readAheadLoadsWhatTheTableFilesHold()
    {
        QFETCH(QList<ArchiveEntry>, entries);
        QFETCH(bool, tablesLoaded);
        const ProgramFolder program(entries);
        const Outcome readAtItsStep = program.unpackAndLoad(nullptr);
        ModulePreload readAhead(program.archive);
        PreloadedModule *module = readAhead.take(program.archive);
        QVERIFY(module);
        QCOMPARE(module->tablesLoaded, tablesLoaded);
        const Outcome taken = program.unpackAndLoad(module);

        QCOMPARE(taken.loaded, readAtItsStep.loaded);
        QCOMPARE(taken.boxes, readAtItsStep.boxes);
        // What loads is the sample, read ahead or not.
        QuestionBank sample = sampleBank();
        setDerivedValues(sample);
        QVERIFY(!taken.loaded || (taken.bank == sample && readAtItsStep.bank == sample));
        QCOMPARE(taken.moduleFiles, QStringList({u"512-330.qdb"_s}));
        QCOMPARE(readAtItsStep.moduleFiles, taken.moduleFiles);
    }
    void aChangedOrMissingArchiveIsNotTaken()
    {
        const ProgramFolder program(sampleEntries());
        ModulePreload readAhead(program.archive);
        // Taking waits for the reading, which then has read the archive as it was.
        QVERIFY(readAhead.take(program.archive));
        QuestionBank changed = sampleBank();
        changed.questions[1].questionText = u"Changed after it was read?"_s;
        program.write(sampleEntries(changed));
        QVERIFY(!readAhead.take(program.archive));
        QVERIFY(!readAhead.taken());

        ModulePreload elsewhere(program.archive);
        QVERIFY(!elsewhere.take(program.archive + u".other"_s));
        QFile::remove(program.archive);
        ModulePreload missing(program.archive);
        QVERIFY(!missing.take(program.archive));
    }
    void tableFilesChangedAfterUnpackingAreRead()
    {
        const ProgramFolder program(sampleEntries());
        const QString questions = program.module + u"/qm_question.dat"_s;
        const QString objectives = program.module + u"/qm_objective.dat"_s;
        const QList<std::function<void()>> changes = {
            [&] { QFile::remove(questions); },
            [&] { QFile::resize(questions, 10); },
            [&] {
                QFile::remove(objectives);
                QFile::link(questions, objectives);
            },
        };
        for (qsizetype change = 0; change < changes.size(); ++change) {
            const Outcome readAtItsStep = program.unpackAndLoad(nullptr, changes[change]);
            ModulePreload readAhead(program.archive);
            const Outcome taken =
                program.unpackAndLoad(readAhead.take(program.archive), changes[change]);
            QVERIFY2(!taken.boxes.isEmpty(), qPrintable(QString::number(change)));
            QCOMPARE(taken.boxes, readAtItsStep.boxes);
            QCOMPARE(taken.moduleFiles, readAtItsStep.moduleFiles);
        }
    }
    void otherWorkRunsFirstOnTheSameThread()
    {
        const ProgramFolder program(sampleEntries());
        QuestionBank changed = sampleBank();
        changed.questions[1].questionText = u"Written by the work done first?"_s;
        std::thread::id workedOn;
        // The reading sees what the first work wrote.
        ModulePreload readAhead(program.archive, [&] {
            workedOn = std::this_thread::get_id();
            program.write(sampleEntries(changed));
        });
        PreloadedModule *module = readAhead.take(program.archive);
        QVERIFY(module);
        QVERIFY(workedOn != std::thread::id() && workedOn != std::this_thread::get_id());
        QCOMPARE(module->bank.questions[1].questionText, u"Written by the work done first?"_s);
    }
};

QTEST_GUILESS_MAIN(TestModulePreload)
#include "tst_modulepreload.moc"
