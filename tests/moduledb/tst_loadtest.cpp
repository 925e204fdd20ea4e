#include "FakeMessageBoxes.h"
#include "SampleModule.h"
#include "moduledb/BankCheck.h"
#include "moduledb/LoadTest.h"
#include "moduledb/ModulePreload.h"
#include "moduledb/Unpack.h"
#include "moduledb/writer/ModuleWriter.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestLoadTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readTable_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("records");
        QTest::addColumn<std::optional<LoadProblem>>("problem");
        const auto row = [](const char *name, const QString &table, const QByteArray &bytes,
                            int records, const std::optional<LoadProblem> &problem = {}) {
            QTest::newRow(name) << table << bytes << records << problem;
        };
        const QuestionBank sample = sampleBank();
        OneBasedArray<Question> questions = sample.questions;
        questions.resize(3);
        const QByteArray fourth =
            encodeTable(sample.questions).sliced(encodeTable(questions).size());
        // Whatever follows the last complete record, short of a record, is dropped.
        row("a record but its last byte", u"question"_s,
            encodeTable(questions) + fourth.first(fourth.indexOf("Chapter 4") + 8), 3);
        row("shorter than one record: capacity", u"dnd"_s, encodeTable(sample.dndRows).first(5),
            TableCapacity::dndRows);
        OneBasedArray<Prompt> prompts;
        prompts.fill(TableCapacity::prompts, {1, u"#"_s});
        row("at capacity", u"prompt"_s, encodeTable(prompts), TableCapacity::prompts);
        prompts.append({26, u">"_s});
        row("over capacity", u"prompt"_s, encodeTable(prompts), TableCapacity::prompts,
            LoadProblem{u"The prompt table holds more than 25 records."_s,
                        tableOverflowErrorNumber});
        const QByteArray info = encodeInfoTable(sample.testInfo);
        row("header and more", u"info"_s, info + "trailing", 1);
        row("header cut short", u"info"_s, info.chopped(1), 0,
            LoadProblem{u"The info table holds no complete header."_s, 0});
    }
    void readTable()
    {
        QFETCH(QString, table);
        QFETCH(QByteArray, bytes);
        QFETCH(int, records);
        QFETCH(std::optional<LoadProblem>, problem);
        QuestionBank bank;
        sizeTablesToCapacity(bank);
        QCOMPARE(::readTable(table, bytes, bank), problem);
        const int read = table == u"question"_s ? bank.questions.size()
                         : table == u"prompt"_s ? bank.prompts.size()
                         : table == u"dnd"_s    ? bank.dndRows.size()
                                                : int(bank.testInfo == sampleBank().testInfo);
        QCOMPARE(read, records);
    }

    void randomDamageIsRefusedOrLoadsACheckedBank()
    {
        const QByteArray archive = packArchive(bankEntries(sampleBank()), ArchiveLayout());
        QRandomGenerator random(330);
        for (int round = 0; round < 1000; ++round) {
            QByteArray damaged = archive;
            for (int flips = 1 + random.bounded(3); flips > 0; --flips)
                damaged[random.bounded(damaged.size())] = char(random.bounded(256));
            const PreloadedModule module = preloadArchive(damaged);
            if (module.tablesLoaded && !module.loadProblem)
                QCOMPARE(checkBank(module.bank), std::nullopt);
        }
    }

    // Only names unpacking wrote are opened and deleted, whatever testFiles holds.
    void aNameOutsideTheFolderIsNeverTouched()
    {
        QTemporaryDir root;
        const QString archive = root.filePath(u"512-330.qdb"_s);
        const QString module = root.filePath(u"Module"_s);
        QFile file(archive);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(packArchive(bankEntries(sampleBank()), ArchiveLayout()));
        file.close();
        OneBasedArray<QString> testFiles;
        QuestionBank bank;
        FakeMessageBoxes boxes;
        QVERIFY(UnpackTest(archive, module, root.path(), testFiles));
        testFiles.append(u"../512-330.qdb"_s);
        QVERIFY(LoadTest(testFiles, module, bank));
        QVERIFY(file.exists());
        QCOMPARE(filesIn(module), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestLoadTest)
#include "tst_loadtest.moc"
