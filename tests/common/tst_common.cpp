#include "FakeMessageBoxes.h"
#include "common/ErrorReport.h"
#include "common/OneBasedArray.h"
#include "moduledb/Ansi.h"

#include <QTest>

class TestCommon : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void oneBasedArrayRejectsIndexZeroAndPastTheEnd();
    void errorReportHasTheExactText();
    void ansiRoundTripsEveryByte();
    void ansiRefusesCharactersOutsideTheCodePage();
};

void TestCommon::oneBasedArrayRejectsIndexZeroAndPastTheEnd()
{
    OneBasedArray<int> values(3);
    values[1] = 10;
    values[3] = 30;
    QCOMPARE(values[1], 10);
    QCOMPARE(values[3], 30);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, values[0]);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, values[4]);
    values.resize(1);
    QCOMPARE(values.size(), 1);
    QCOMPARE(values[1], 10);
}

void TestCommon::errorReportHasTheExactText()
{
    FakeMessageBoxes boxes;
    ShowErrorReport({QStringLiteral("Test database not found."), 0,
                     QStringLiteral("Function Name: UnpackTest")});
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("An error has occured"));
    QCOMPARE(boxes.shown[0].icon, MessageIcon::Critical);
    QCOMPARE(boxes.shown[0].buttons, MessageButtons::Ok);
    QCOMPARE(boxes.shown[0].text,
             QStringLiteral("An error has occured. Please restart Quendra and try again.\r\n"
                            "If the error persists, please report to support@quendra.example.com "
                            "for assistance.\nError Description: Test database not found.\n"
                            "Error Number: 0\nFunction Name: UnpackTest"));
}

void TestCommon::ansiRoundTripsEveryByte()
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));
    const QString text = fromAnsi(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text[0x80], QChar(0x20AC));
    QCOMPARE(text[0xE9], QChar(0xE9));
    QCOMPARE(toAnsi(text), std::optional<QByteArray>(all));
}

void TestCommon::ansiRefusesCharactersOutsideTheCodePage()
{
    QVERIFY(!toAnsi(QStringLiteral("10 \u2192 20")).has_value());
    QVERIFY(!toAnsi(QString::fromUtf16(u"\U0001F600")).has_value());
}

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
