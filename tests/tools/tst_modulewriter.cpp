// The bytes the writer puts down, checked against the layout by hand: the reader's tests
// read what the writer writes, so a field both got wrong alike would show nowhere else.

#include "moduledb/writer/ModuleWriter.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestModuleWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void archive_data()
    {
        QTest::addColumn<bool>("extraByte");
        QTest::addColumn<QByteArray>("block");
        // zlib's compress("hi") is the 10 bytes 789ccbc80400013b00d2.
        QTest::newRow("stream only")
            << false << QByteArray("09000000 02000000 789ccbc80400013b00d2");
        QTest::newRow("extra byte")
            << true << QByteArray("0a000000 02000000 789ccbc80400013b00d2 00");
    }
    void archive()
    {
        QFETCH(bool, extraByte);
        QFETCH(QByteArray, block);
        const QByteArray reserved = "0102030405060708090a0b0c0d0e0f10";
        const ArchiveEntry entry{"a.txt", "hi", QByteArray::fromHex(reserved)};
        // Entry count, filler "xy", header strings "A" and "", the entry's name and reserved
        // bytes, its one block and its end marker.
        const QByteArray expected =
            "0100 0200 7879 0141 00 05612e747874" + reserved + block + "00000000";
        QCOMPARE(packArchive({entry}, {"xy", "A", "", 65536, extraByte}).toHex(),
                 QByteArray::fromHex(expected).toHex());
    }

    void records_data()
    {
        QTest::addColumn<QByteArray>("encoded");
        QTest::addColumn<QByteArray>("expected");
        // U+2192 has no Windows-1252 code: written as '?'.
        const TestInfo info{u"AB"_s, {},       60,           825,         90,          7,
                            9,       u"1.0"_s, u"D\u00e9"_s, u"\u20ac"_s, u"\u2192x"_s};
        QTest::newRow("info") << encodeInfoTable(info)
                              << QByteArray("02004142 0000 3c00 3903 5a00 0700 09 0300312e30 "
                                            "020044e9 010080 02003f78");
        Question question{258, u"NF-1"_s, 3, u"Q?"_s, 2, 4, -2, {}, u"e.txt"_s, {}, u"r"_s};
        OneBasedArray<Question> questions;
        questions.append(question);
        question.questionCode = u"ABCDEFGHIJKL"_s;
        questions.append(question);
        const QByteArray rest = "03 0200513f 02 04 feff 0000 0500652e747874 0000 010072 ";
        QTest::newRow("question, code padded and cut")
            << encodeTable(questions)
            << "0201 4e462d31202020202020 " + rest + "0201 4142434445464748494a " + rest;
        OneBasedArray<DndRow> targets;
        targets.append({3, 1, 0, {}, 300, 450, 1695, 465});
        QTest::newRow("drag and drop")
            << encodeTable(targets) << QByteArray("0300 01 00 0000 2c01 c201 9f06 d101");
    }
    void records()
    {
        QFETCH(QByteArray, encoded);
        QFETCH(QByteArray, expected);
        QCOMPARE(encoded.toHex(), QByteArray::fromHex(expected).toHex());
    }
};

QTEST_GUILESS_MAIN(TestModuleWriter)
#include "tst_modulewriter.moc"
