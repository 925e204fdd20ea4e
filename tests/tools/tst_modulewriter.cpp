#include "moduledb/writer/ModuleWriter.h"

#include <QTest>
#include <QtEndian>

#include <zlib.h>

namespace {

QByteArray hex(const char *digits)
{
    return QByteArray::fromHex(digits);
}

// Reads back one block the way the unpacker does: storedLength + 1 bytes go to uncompress.
struct BlockRead
{
    QByteArray inflated;
    qsizetype next = 0;
    int result = Z_DATA_ERROR;
};

BlockRead readBlock(const QByteArray &archive, qsizetype at)
{
    const auto storedLength = qFromLittleEndian<qint32>(archive.constData() + at);
    const auto inflatedSize = qFromLittleEndian<qint32>(archive.constData() + at + 4);
    BlockRead read;
    read.inflated.resize(inflatedSize);
    uLongf length = uLongf(inflatedSize);
    read.result = uncompress(reinterpret_cast<Bytef *>(read.inflated.data()), &length,
                             reinterpret_cast<const Bytef *>(archive.constData() + at + 8),
                             uLong(storedLength) + 1);
    read.inflated.truncate(qsizetype(length));
    read.next = at + 8 + storedLength + 1;
    return read;
}

} // namespace

class TestModuleWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tinyArchive_data()
    {
        QTest::addColumn<bool>("extraByte");
        QTest::addColumn<QByteArray>("expected");
        // zlib's compress("hi") is the 10 bytes 789ccbc80400013b00d2.
        const QByteArray header = hex("0100"
                                      "0200"
                                      "7879"
                                      "0141"
                                      "00"
                                      "05612e747874"
                                      "0102030405060708090a0b0c0d0e0f10");
        QTest::newRow("stream only") << false
                                     << header + hex("09000000"
                                                     "02000000"
                                                     "789ccbc80400013b00d2"
                                                     "00000000");
        QTest::newRow("extra byte") << true
                                    << header + hex("0a000000"
                                                    "02000000"
                                                    "789ccbc80400013b00d2"
                                                    "00"
                                                    "00000000");
    }
    void tinyArchive()
    {
        QFETCH(bool, extraByte);
        QFETCH(QByteArray, expected);
        ArchiveLayout layout;
        layout.filler = "xy";
        layout.headerString1 = "A";
        layout.extraByte = extraByte;
        const ArchiveEntry entry{"a.txt", "hi", hex("0102030405060708090a0b0c0d0e0f10")};
        const QByteArray archive = packArchive({entry}, layout);
        QCOMPARE(archive.toHex(), expected.toHex());
        QCOMPARE(readBlock(archive, 31).inflated, QByteArray("hi"));
    }

    void emptyEntryHasOnlyTheEndMarker()
    {
        const QByteArray archive = packArchive({{"e", {}}}, ArchiveLayout());
        QCOMPARE(archive.toHex(), hex("0100"
                                      "0000"
                                      "00"
                                      "00"
                                      "0165"
                                      "00000000000000000000000000000000"
                                      "00000000")
                                      .toHex());
    }

    void contentIsSplitIntoBlocks_data()
    {
        QTest::addColumn<bool>("extraByte");
        QTest::newRow("stream only") << false;
        QTest::newRow("extra byte") << true;
    }
    void contentIsSplitIntoBlocks()
    {
        QFETCH(bool, extraByte);
        ArchiveLayout layout;
        layout.blockSize = 4;
        layout.extraByte = extraByte;
        const QByteArray archive = packArchive({{"n", "0123456789"}}, layout);
        qsizetype at = 2 + 2 + 1 + 1 + 2 + 16;
        for (const char *part : {"0123", "4567", "89"}) {
            const BlockRead block = readBlock(archive, at);
            QCOMPARE(block.result, Z_OK);
            QCOMPARE(block.inflated, QByteArray(part));
            at = block.next;
        }
        QCOMPARE(archive.mid(at).toHex(), QByteArray("00000000"));
    }

    void records_data()
    {
        QTest::addColumn<QByteArray>("encoded");
        QTest::addColumn<QByteArray>("expected");

        TestInfo info;
        info.examCode = QStringLiteral("AB");
        info.examQuestionCount = 60;
        info.passingScore = 825;
        info.durationMinutes = 90;
        info.totalQuestions = 7;
        info.numObjectives = 9;
        info.dbVersion = QStringLiteral("1.0");
        info.dbRelease = QStringLiteral("D\u00e9");
        info.description = QStringLiteral("\u20ac");
        info.notes = QStringLiteral("\u2192x"); // no Windows-1252 code: written as '?'
        QTest::newRow("info") << encodeInfoTable(info)
                              << hex("02004142"
                                     "0000"
                                     "3c00"
                                     "3903"
                                     "5a00"
                                     "0700"
                                     "09"
                                     "0300312e30"
                                     "020044e9"
                                     "010080"
                                     "02003f78");

        Question question;
        question.questionId = 258;
        question.questionCode = QStringLiteral("NF-1");
        question.objectiveNo = 3;
        question.questionText = QStringLiteral("Q?");
        question.questionType = 2;
        question.choiceCount = 4;
        question.answerKey = -2;
        question.exhibitFile = QStringLiteral("e.txt");
        question.reference = QStringLiteral("r");
        OneBasedArray<Question> questions;
        questions.append(question);
        question.questionCode = QStringLiteral("ABCDEFGHIJKL");
        questions.append(question);
        const QByteArray rest = hex("03"
                                    "0200513f"
                                    "02"
                                    "04"
                                    "feff"
                                    "0000"
                                    "0500652e747874"
                                    "0000"
                                    "010072");
        QTest::newRow("question, code padded and cut") << encodeTable(questions)
                                                       << hex("0201"
                                                              "4e462d31202020202020") +
                                                              rest +
                                                              hex("0201"
                                                                  "4142434445464748494a") +
                                                              rest;

        OneBasedArray<ChoiceRow> choices;
        choices.append({1, 2, QStringLiteral("ab"), -1});
        QTest::newRow("choice") << encodeTable(choices)
                                << hex("0100"
                                       "02"
                                       "02006162"
                                       "ffff");

        OneBasedArray<DndRow> targets;
        targets.append({3, 1, 0, {}, 300, 450, 1695, 465});
        QTest::newRow("drag and drop") << encodeTable(targets)
                                       << hex("0300"
                                              "01"
                                              "00"
                                              "0000"
                                              "2c01"
                                              "c201"
                                              "9f06"
                                              "d101");

        OneBasedArray<SimRow> tasks;
        tasks.append({7, 1, QStringLiteral("R"), 3, QStringLiteral("t"), QStringLiteral("en"), {}});
        QTest::newRow("simulation") << encodeTable(tasks)
                                    << hex("0700"
                                           "01"
                                           "010052"
                                           "03"
                                           "010074"
                                           "0200656e"
                                           "0000");

        OneBasedArray<Objective> objectives;
        objectives.append({1, QStringLiteral("N"), 12});
        QTest::newRow("objective") << encodeTable(objectives)
                                   << hex("01"
                                          "01004e"
                                          "0c00");
        OneBasedArray<Prompt> prompts;
        prompts.append({2, QStringLiteral("#")});
        QTest::newRow("prompt") << encodeTable(prompts)
                                << hex("02"
                                       "010023");
        OneBasedArray<QuestionType> types;
        types.append({7, QStringLiteral("s"), QStringLiteral("S")});
        QTest::newRow("question type") << encodeTable(types)
                                       << hex("07"
                                              "010073"
                                              "010053");
    }
    void records()
    {
        QFETCH(QByteArray, encoded);
        QFETCH(QByteArray, expected);
        QCOMPARE(encoded.toHex(), expected.toHex());
    }

    void bankEntriesAreNamedAndOrderedByTable()
    {
        QuestionBank bank;
        bank.prompts.append({1, QStringLiteral(">")});
        const QList<ArchiveEntry> entries =
            bankEntries(bank, QStringLiteral("m1"), QStringLiteral("bin"));
        QByteArrayList names;
        for (const ArchiveEntry &entry : entries)
            names.append(entry.name);
        QCOMPARE(names, QByteArrayList({"m1_info.bin", "m1_objective.bin", "m1_prompt.bin",
                                        "m1_questiontype.bin", "m1_question.bin", "m1_mcfri.bin",
                                        "m1_dnd.bin", "m1_simulation.bin"}));
        QCOMPARE(entries[2].content, hex("01"
                                         "01003e"));
        QVERIFY(entries[1].content.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestModuleWriter)
#include "tst_modulewriter.moc"
