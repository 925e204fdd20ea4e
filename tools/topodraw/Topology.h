#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

// A network drawing as described in a diagram source file: devices with icons, the links
// between them, free text, framed boxes and the drop slots of drag-and-drop questions.
// All coordinates are pixels from the picture's top-left corner.

enum class DeviceKind {
    Router,
    Switch,
    Pc,
    Laptop,
    Server,
    Firewall,
    AccessPoint,
    Controller,
    Cloud
};

struct Device
{
    QString name; // key used by links
    DeviceKind kind = DeviceKind::Router;
    QPoint centre;
    QString label; // bold caption under the icon (inside the icon for clouds)
    QString note;  // smaller lines under the caption
};

enum class LinkStyle { Solid, Dashed, Serial, Wireless, Tunnel };

struct Link
{
    QString from;
    QString to;
    LinkStyle style = LinkStyle::Solid;
    QString fromText; // interface label at the "from" end
    QString toText;
    QString text;     // label at the middle of the link
    QPoint fromShift; // hand adjustments of the label positions
    QPoint toShift;
    QPoint textShift;
};

struct Box
{
    QRect rect;
    QString title; // bold heading line, optional
    QString text;
    bool mono = false;
    QColor fill = QColor(0xf4, 0xf6, 0xfa);
};

struct FreeText
{
    QPoint position; // anchor: left, centre or right of the first line's top
    QString text;
    Qt::Alignment align = Qt::AlignLeft;
    bool bold = false;
    int pixelSize = 12;
};

struct Slot
{
    QString name;
    QPoint topLeft;
};

struct Topology
{
    QSize size;
    QString title;
    QSize slotSize = QSize(113, 31);
    QList<Device> devices;
    QList<Link> links;
    QList<Box> boxes;
    QList<FreeText> texts;
    QList<Slot> slots;
};

struct TopologyResult
{
    std::optional<Topology> topology;
    QString error;
};

// Reads a description; refuses unknown kinds, links to unknown devices and slots that leave
// the picture or overlap each other, naming what is wrong.
TopologyResult parseTopology(const QByteArray &json);
