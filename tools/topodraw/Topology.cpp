#include "Topology.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRect>

namespace {

QPoint pointOf(const QJsonValue &value)
{
    const QJsonArray pair = value.toArray();
    return pair.size() == 2 ? QPoint(pair.at(0).toInt(), pair.at(1).toInt()) : QPoint();
}

std::optional<DeviceKind> deviceKind(const QString &name)
{
    static const QList<std::pair<QString, DeviceKind>> kinds = {
        {QStringLiteral("router"), DeviceKind::Router},
        {QStringLiteral("switch"), DeviceKind::Switch},
        {QStringLiteral("pc"), DeviceKind::Pc},
        {QStringLiteral("laptop"), DeviceKind::Laptop},
        {QStringLiteral("server"), DeviceKind::Server},
        {QStringLiteral("firewall"), DeviceKind::Firewall},
        {QStringLiteral("ap"), DeviceKind::AccessPoint},
        {QStringLiteral("controller"), DeviceKind::Controller},
        {QStringLiteral("cloud"), DeviceKind::Cloud},
    };
    for (const auto &[text, kind] : kinds) {
        if (text == name)
            return kind;
    }
    return std::nullopt;
}

std::optional<LinkStyle> linkStyle(const QString &name)
{
    if (name.isEmpty() || name == QStringLiteral("solid"))
        return LinkStyle::Solid;
    if (name == QStringLiteral("dashed"))
        return LinkStyle::Dashed;
    if (name == QStringLiteral("serial"))
        return LinkStyle::Serial;
    if (name == QStringLiteral("wireless"))
        return LinkStyle::Wireless;
    if (name == QStringLiteral("tunnel"))
        return LinkStyle::Tunnel;
    return std::nullopt;
}

Qt::Alignment alignment(const QString &name)
{
    if (name == QStringLiteral("center"))
        return Qt::AlignHCenter;
    if (name == QStringLiteral("right"))
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

TopologyResult failure(const QString &error)
{
    return {std::nullopt, error};
}

} // namespace

TopologyResult parseTopology(const QByteArray &json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject())
        return failure(QStringLiteral("not a JSON object: %1").arg(parseError.errorString()));
    const QJsonObject root = document.object();

    Topology topology;
    topology.size = QSize(root.value(QStringLiteral("width")).toInt(),
                          root.value(QStringLiteral("height")).toInt());
    if (topology.size.width() < 50 || topology.size.height() < 50)
        return failure(QStringLiteral("width and height must be at least 50 pixels"));
    topology.title = root.value(QStringLiteral("title")).toString();
    if (root.contains(QStringLiteral("slotSize"))) {
        const QPoint size = pointOf(root.value(QStringLiteral("slotSize")));
        topology.slotSize = QSize(size.x(), size.y());
    }

    for (const QJsonValue &value : root.value(QStringLiteral("devices")).toArray()) {
        const QJsonObject object = value.toObject();
        Device device;
        device.name = object.value(QStringLiteral("name")).toString();
        const QString kindName = object.value(QStringLiteral("kind")).toString();
        const auto kind = deviceKind(kindName);
        if (!kind)
            return failure(
                QStringLiteral("device %1: unknown kind \"%2\"").arg(device.name, kindName));
        device.kind = *kind;
        device.centre = pointOf(object.value(QStringLiteral("at")));
        device.label = object.value(QStringLiteral("label")).toString(device.name);
        device.note = object.value(QStringLiteral("note")).toString();
        topology.devices.append(device);
    }

    for (const QJsonValue &value : root.value(QStringLiteral("links")).toArray()) {
        const QJsonObject object = value.toObject();
        Link link;
        link.from = object.value(QStringLiteral("from")).toString();
        link.to = object.value(QStringLiteral("to")).toString();
        for (const QString &end : {link.from, link.to}) {
            const bool known =
                std::any_of(topology.devices.cbegin(), topology.devices.cend(),
                            [&](const Device &device) { return device.name == end; });
            if (!known)
                return failure(QStringLiteral("link %1-%2: no device named \"%3\"")
                                   .arg(link.from, link.to, end));
        }
        const QString styleName = object.value(QStringLiteral("style")).toString();
        const auto style = linkStyle(styleName);
        if (!style)
            return failure(QStringLiteral("link %1-%2: unknown style \"%3\"")
                               .arg(link.from, link.to, styleName));
        link.style = *style;
        link.fromText = object.value(QStringLiteral("fromText")).toString();
        link.toText = object.value(QStringLiteral("toText")).toString();
        link.text = object.value(QStringLiteral("text")).toString();
        link.fromShift = pointOf(object.value(QStringLiteral("fromShift")));
        link.toShift = pointOf(object.value(QStringLiteral("toShift")));
        link.textShift = pointOf(object.value(QStringLiteral("textShift")));
        topology.links.append(link);
    }

    for (const QJsonValue &value : root.value(QStringLiteral("boxes")).toArray()) {
        const QJsonObject object = value.toObject();
        Box box;
        const QPoint at = pointOf(object.value(QStringLiteral("at")));
        const QPoint size = pointOf(object.value(QStringLiteral("size")));
        box.rect = QRect(at, QSize(size.x(), size.y()));
        box.title = object.value(QStringLiteral("title")).toString();
        box.text = object.value(QStringLiteral("text")).toString();
        box.mono = object.value(QStringLiteral("mono")).toBool();
        if (object.contains(QStringLiteral("fill")))
            box.fill = QColor(object.value(QStringLiteral("fill")).toString());
        topology.boxes.append(box);
    }

    for (const QJsonValue &value : root.value(QStringLiteral("texts")).toArray()) {
        const QJsonObject object = value.toObject();
        FreeText text;
        text.position = pointOf(object.value(QStringLiteral("at")));
        text.text = object.value(QStringLiteral("text")).toString();
        text.align = alignment(object.value(QStringLiteral("align")).toString());
        text.bold = object.value(QStringLiteral("bold")).toBool();
        text.pixelSize = object.value(QStringLiteral("size")).toInt(12);
        topology.texts.append(text);
    }

    const QRect picture(QPoint(0, 0), topology.size);
    for (const QJsonValue &value : root.value(QStringLiteral("slots")).toArray()) {
        const QJsonObject object = value.toObject();
        Slot slot;
        slot.name = object.value(QStringLiteral("name")).toString();
        slot.topLeft = pointOf(object.value(QStringLiteral("at")));
        const QRect area(slot.topLeft, topology.slotSize);
        if (!picture.contains(area))
            return failure(QStringLiteral("slot %1 leaves the picture").arg(slot.name));
        for (const Slot &other : std::as_const(topology.slots)) {
            if (QRect(other.topLeft, topology.slotSize).intersects(area))
                return failure(
                    QStringLiteral("slots %1 and %2 overlap").arg(other.name, slot.name));
        }
        topology.slots.append(slot);
    }
    return {topology, QString()};
}
