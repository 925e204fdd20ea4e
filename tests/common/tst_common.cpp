#include "FakeMessageBoxes.h"
#include "common/ErrorReport.h"
#include "common/OneBasedArray.h"
#include "moduledb/Ansi.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCommon : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void oneBasedArrayRejectsIndexZeroAndPastTheEnd();
    void errorReportHasTheExactText();
    void ansiRoundTripsEveryByteAndNothingElse();
};

void TestCommon::oneBasedArrayRejectsIndexZeroAndPastTheEnd()
{
    OneBasedArray<int> values(3);
    values[1] = 10;
    values[3] = 30;
    QCOMPARE(values[3], 30);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, values[0]);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, values[4]);
    values.resize(1);
    QCOMPARE(values[1], 10);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, values[2]);
}

void TestCommon::errorReportHasTheExactText()
{
    FakeMessageBoxes boxes;
    ShowErrorReport({u"Test database not found."_s, 0, u"Function Name: UnpackTest"_s});
    QCOMPARE(boxes.shown,
             (QList<MessageBoxRequest>{
                 {u"An error has occured"_s,
                  u"An error has occured. Please restart Quendra and try again.\r\n"
                  u"If the error persists, please report to support@quendra.example.com for "
                  u"assistance.\nError Description: Test database not found.\nError Number: 0\n"
                  u"Function Name: UnpackTest"_s,
                  MessageIcon::Critical, MessageButtons::Ok}}));
}

void TestCommon::ansiRoundTripsEveryByteAndNothingElse()
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));
    const QString text = fromAnsi(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text[0x80], QChar(0x20AC));
    QCOMPARE(text[0xE9], QChar(0xE9));
    QCOMPARE(toAnsi(text), std::optional<QByteArray>(all));
    QVERIFY(!toAnsi(u"10 \u2192 20"_s).has_value());
    QVERIFY(!toAnsi(QString::fromUtf16(u"\U0001F600")).has_value());
}

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
