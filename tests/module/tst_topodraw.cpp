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
    void readsADescription();
    void refusesBrokenDescriptions_data();
    void refusesBrokenDescriptions();
    void drawsSlotsExactlyWhereDescribed();
};

void TestTopodraw::readsADescription()
{
    const TopologyResult result = parseTopology(R"({
        "width": 300, "height": 200, "slotSize": [60, 20],
        "devices": [{"name": "R1", "kind": "router", "at": [50, 50]},
                    {"name": "S1", "kind": "switch", "at": [200, 50], "label": "Core"}],
        "links": [{"from": "R1", "to": "S1", "style": "serial", "fromText": "S0/0"}],
        "slots": [{"name": "a", "at": [10, 150]}, {"name": "b", "at": [70, 150]}]})");
    QVERIFY2(result.topology, qPrintable(result.error));
    const Topology &topology = *result.topology;
    QCOMPARE(topology.size, QSize(300, 200));
    QCOMPARE(topology.slotSize, QSize(60, 20));
    QCOMPARE(topology.devices.size(), 2);
    QCOMPARE(topology.devices.at(0).label, QStringLiteral("R1")); // the name when no label
    QCOMPARE(topology.devices.at(1).label, QStringLiteral("Core"));
    QCOMPARE(topology.links.at(0).style, LinkStyle::Serial);
    QCOMPARE(topology.slots.size(), 2);
    QCOMPARE(topology.slots.at(1).topLeft, QPoint(70, 150)); // touching slots do not overlap
}

void TestTopodraw::refusesBrokenDescriptions_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error");
    QTest::newRow("not an object") << QByteArray("[1, 2]") << QStringLiteral("not a JSON object");
    QTest::newRow("too small") << QByteArray(R"({"width": 20, "height": 200})")
                               << QStringLiteral("width and height must be at least 50 pixels");
    QTest::newRow("unknown kind") << QByteArray(R"({"width": 100, "height": 100,
                          "devices": [{"name": "X", "kind": "toaster", "at": [1, 1]}]})")
                                  << QStringLiteral("device X: unknown kind \"toaster\"");
    QTest::newRow("link to nowhere") << QByteArray(R"({"width": 100, "height": 100,
                          "devices": [{"name": "R1", "kind": "router", "at": [1, 1]}],
                          "links": [{"from": "R1", "to": "R9"}]})")
                                     << QStringLiteral("link R1-R9: no device named \"R9\"");
    QTest::newRow("unknown link style") << QByteArray(R"({"width": 100, "height": 100,
                          "devices": [{"name": "A", "kind": "pc", "at": [1, 1]},
                                      {"name": "B", "kind": "pc", "at": [9, 9]}],
                          "links": [{"from": "A", "to": "B", "style": "zigzag"}]})")
                                        << QStringLiteral("link A-B: unknown style \"zigzag\"");
    QTest::newRow("slot past the right edge")
        << QByteArray(R"({"width": 200, "height": 100, "slotSize": [60, 20],
                          "slots": [{"name": "a", "at": [141, 10]}]})")
        << QStringLiteral("slot a leaves the picture");
    QTest::newRow("slot above the top")
        << QByteArray(R"({"width": 200, "height": 100, "slots": [{"name": "a", "at": [0, -1]}]})")
        << QStringLiteral("slot a leaves the picture");
    QTest::newRow("overlapping slots")
        << QByteArray(R"({"width": 200, "height": 100, "slotSize": [60, 20],
                          "slots": [{"name": "a", "at": [10, 10]}, {"name": "b", "at": [69, 29]}]})")
        << QStringLiteral("slots a and b overlap");
}

void TestTopodraw::refusesBrokenDescriptions()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, error);
    const TopologyResult result = parseTopology(json);
    QVERIFY(!result.topology);
    QVERIFY2(result.error.startsWith(error), qPrintable(result.error));
}

void TestTopodraw::drawsSlotsExactlyWhereDescribed()
{
    const TopologyResult result = parseTopology(R"({
        "width": 120, "height": 90, "slotSize": [40, 20],
        "slots": [{"name": "a", "at": [30, 40]}]})");
    QVERIFY(result.topology);
    const QImage image = renderTopology(*result.topology);
    QCOMPARE(image.size(), QSize(120, 90));

    const QRect slot(30, 40, 40, 20);
    const QColor background(Qt::white);
    // Inside: the slot's fill. Just outside on every side: untouched background.
    QVERIFY(image.pixelColor(slot.center()) != background);
    QCOMPARE(image.pixelColor(slot.center()), image.pixelColor(slot.left() + 5, slot.top() + 5));
    for (int y = slot.top(); y <= slot.bottom(); ++y) {
        QCOMPARE(image.pixelColor(slot.left() - 1, y), background);
        QCOMPARE(image.pixelColor(slot.right() + 1, y), background);
    }
    for (int x = slot.left(); x <= slot.right(); ++x) {
        QCOMPARE(image.pixelColor(x, slot.top() - 1), background);
        QCOMPARE(image.pixelColor(x, slot.bottom() + 1), background);
    }
    // The dashed border runs along the slot's outermost pixels.
    int borderPixels = 0;
    for (int x = slot.left(); x <= slot.right(); ++x) {
        if (image.pixelColor(x, slot.top()) != image.pixelColor(slot.center()))
            ++borderPixels;
    }
    QVERIFY(borderPixels > slot.width() / 3);
}

QTEST_MAIN(TestTopodraw)
#include "tst_topodraw.moc"
