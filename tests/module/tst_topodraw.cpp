// The drawing tool behind the module's pictures: what it refuses in a description, and that
// a drop slot is drawn exactly where the description puts it (the drop targets of graphical
// questions are laid over those slots).

#include "Topology.h"
#include "TopologyPainter.h"

#include <QColor>
#include <QImage>
#include <QTest>

class TestTopodraw : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusesBrokenDescriptions_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown kind") << QByteArray(R"({"width": 100, "height": 100,
                "devices": [{"name": "X", "kind": "toaster", "at": [1, 1]}]})")
                                      << QStringLiteral("device X: unknown kind \"toaster\"");
        QTest::newRow("link to nowhere") << QByteArray(R"({"width": 100, "height": 100,
                "devices": [{"name": "R1", "kind": "router", "at": [1, 1]}],
                "links": [{"from": "R1", "to": "R9"}]})")
                                         << QStringLiteral("link R1-R9: no device named \"R9\"");
        QTest::newRow("slot one pixel past the right edge")
            << QByteArray(R"({"width": 200, "height": 100, "slotSize": [60, 20],
                "slots": [{"name": "a", "at": [141, 10]}]})")
            << QStringLiteral("slot a leaves the picture");
        QTest::newRow("slots sharing a corner pixel")
            << QByteArray(R"({"width": 200, "height": 100, "slotSize": [60, 20],
                "slots": [{"name": "a", "at": [10, 10]}, {"name": "b", "at": [69, 29]}]})")
            << QStringLiteral("slots a and b overlap");
    }
    void refusesBrokenDescriptions()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, error);
        const TopologyResult result = parseTopology(json);
        QVERIFY(!result.topology);
        QVERIFY2(result.error.startsWith(error), qPrintable(result.error));
    }

    void drawsSlotsExactlyWhereDescribed()
    {
        const TopologyResult result = parseTopology(R"({"width": 120, "height": 90,
            "slotSize": [40, 20], "slots": [{"name": "a", "at": [30, 40]}]})");
        QVERIFY(result.topology);
        const QImage image = renderTopology(*result.topology);
        const QRect slot(30, 40, 40, 20);
        const QColor background(Qt::white);
        // Inside: the slot's fill. Just outside on every side: untouched background.
        QVERIFY(image.pixelColor(slot.center()) != background);
        for (int y = slot.top(); y <= slot.bottom(); ++y) {
            QCOMPARE(image.pixelColor(slot.left() - 1, y), background);
            QCOMPARE(image.pixelColor(slot.right() + 1, y), background);
        }
        for (int x = slot.left(); x <= slot.right(); ++x) {
            QCOMPARE(image.pixelColor(x, slot.top() - 1), background);
            QCOMPARE(image.pixelColor(x, slot.bottom() + 1), background);
        }
    }
};

QTEST_MAIN(TestTopodraw)
#include "tst_topodraw.moc"
