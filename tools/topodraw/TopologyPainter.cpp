#include "TopologyPainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

const QColor inkColour(0x1d, 0x2d, 0x44);
const QColor lineColour(0x4a, 0x55, 0x68);
const QColor deviceBlue(0x2f, 0x6d, 0xb5);
const QColor deviceDark(0x1d, 0x4a, 0x80);
const QColor slotBorder(0xc0, 0x50, 0x30);
const QColor slotFill(0xff, 0xf6, 0xe0);

QFont uiFont(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont monoFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(pixelSize);
    return font;
}

// Half width and half height of each icon, used to place captions and link labels.
QSize iconHalfExtent(DeviceKind kind)
{
    switch (kind) {
    case DeviceKind::Router:
        return {28, 18};
    case DeviceKind::Switch:
        return {32, 16};
    case DeviceKind::Pc:
        return {21, 20};
    case DeviceKind::Laptop:
        return {25, 17};
    case DeviceKind::Server:
        return {16, 23};
    case DeviceKind::Firewall:
        return {29, 17};
    case DeviceKind::AccessPoint:
        return {23, 18};
    case DeviceKind::Controller:
        return {30, 14};
    case DeviceKind::Cloud:
        return {68, 34};
    }
    return {20, 20};
}

void drawArrowHead(QPainter &painter, QPointF tip, QPointF direction, qreal size)
{
    const qreal length = std::hypot(direction.x(), direction.y());
    if (length == 0)
        return;
    const QPointF u = direction / length;
    const QPointF n(-u.y(), u.x());
    QPolygonF head;
    head << tip << tip - u * size + n * size * 0.6 << tip - u * size - n * size * 0.6;
    painter.drawPolygon(head);
}

void drawRouter(QPainter &painter, QPointF c)
{
    const QRectF top(c.x() - 27, c.y() - 17, 54, 18);
    const QRectF bottom(c.x() - 27, c.y() - 1, 54, 18);
    QPainterPath body;
    body.moveTo(top.left(), top.center().y());
    body.lineTo(bottom.left(), bottom.center().y());
    body.arcTo(bottom, 180, 180);
    body.lineTo(top.right(), top.center().y());
    body.closeSubpath();
    painter.setPen(QPen(deviceDark, 1.5));
    painter.setBrush(deviceDark);
    painter.drawPath(body);
    painter.setBrush(deviceBlue);
    painter.drawEllipse(top);
    // Four arrows on the lid: two pointing in, two pointing out.
    painter.setPen(QPen(Qt::white, 1.8));
    painter.setBrush(Qt::white);
    const QPointF centre = top.center();
    const QList<QPointF> directions = {{1, 0.33}, {-1, -0.33}, {1, -0.33}, {-1, 0.33}};
    for (int i = 0; i < directions.size(); ++i) {
        const QPointF d = directions.at(i);
        const QPointF outer = centre + QPointF(d.x() * 19, d.y() * 19);
        const QPointF inner = centre + QPointF(d.x() * 5, d.y() * 5);
        painter.drawLine(inner, outer);
        if (i < 2)
            drawArrowHead(painter, outer, outer - inner, 4.5);
        else
            drawArrowHead(painter, inner, inner - outer, 4.5);
    }
}

void drawSwitch(QPainter &painter, QPointF c)
{
    const QRectF face(c.x() - 31, c.y() - 15, 62, 30);
    painter.setPen(QPen(QColor(0x1b, 0x5e, 0x5a), 1.5));
    painter.setBrush(QColor(0x2a, 0x8c, 0x85));
    painter.drawRoundedRect(face, 4, 4);
    painter.setPen(QPen(Qt::white, 1.8));
    painter.setBrush(Qt::white);
    for (int row = 0; row < 2; ++row) {
        const qreal y = c.y() - 7 + row * 14;
        const bool right = row == 0;
        const QPointF start(c.x() + (right ? -18 : 18), y);
        const QPointF end(c.x() + (right ? 18 : -18), y);
        painter.drawLine(start, end);
        drawArrowHead(painter, end, end - start, 5);
    }
}

void drawPc(QPainter &painter, QPointF c)
{
    painter.setPen(QPen(QColor(0x3b, 0x45, 0x55), 1.5));
    painter.setBrush(QColor(0x5b, 0x67, 0x7a));
    painter.drawRoundedRect(QRectF(c.x() - 20, c.y() - 19, 40, 29), 3, 3);
    painter.setBrush(QColor(0xbf, 0xdc, 0xf5));
    painter.drawRect(QRectF(c.x() - 16, c.y() - 15, 32, 21));
    painter.setBrush(QColor(0x5b, 0x67, 0x7a));
    painter.drawRect(QRectF(c.x() - 3, c.y() + 10, 6, 5));
    painter.drawRoundedRect(QRectF(c.x() - 13, c.y() + 15, 26, 4), 1.5, 1.5);
}

void drawLaptop(QPainter &painter, QPointF c)
{
    painter.setPen(QPen(QColor(0x3b, 0x45, 0x55), 1.5));
    painter.setBrush(QColor(0x5b, 0x67, 0x7a));
    painter.drawRoundedRect(QRectF(c.x() - 18, c.y() - 17, 36, 25), 2, 2);
    painter.setBrush(QColor(0xbf, 0xdc, 0xf5));
    painter.drawRect(QRectF(c.x() - 14, c.y() - 13, 28, 17));
    painter.setBrush(QColor(0x5b, 0x67, 0x7a));
    QPolygonF base;
    base << QPointF(c.x() - 20, c.y() + 9) << QPointF(c.x() + 20, c.y() + 9)
         << QPointF(c.x() + 25, c.y() + 16) << QPointF(c.x() - 25, c.y() + 16);
    painter.drawPolygon(base);
}

void drawServer(QPainter &painter, QPointF c)
{
    painter.setPen(QPen(QColor(0x3b, 0x45, 0x55), 1.5));
    painter.setBrush(QColor(0x5b, 0x67, 0x7a));
    painter.drawRoundedRect(QRectF(c.x() - 15, c.y() - 22, 30, 44), 3, 3);
    for (int unit = 0; unit < 3; ++unit) {
        const qreal y = c.y() - 16 + unit * 11;
        painter.setPen(QPen(QColor(0x2c, 0x33, 0x3f), 1));
        painter.setBrush(QColor(0x8d, 0x99, 0xab));
        painter.drawRect(QRectF(c.x() - 10, y, 20, 7));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x6c, 0xe0, 0x7a));
        painter.drawEllipse(QPointF(c.x() + 6, y + 3.5), 1.8, 1.8);
    }
}

void drawFirewall(QPainter &painter, QPointF c)
{
    const QRectF wall(c.x() - 28, c.y() - 16, 56, 32);
    painter.setPen(QPen(QColor(0x7a, 0x24, 0x16), 1.5));
    painter.setBrush(QColor(0xb8, 0x43, 0x2d));
    painter.drawRect(wall);
    painter.setPen(QPen(QColor(0xf1, 0xd9, 0xcf), 1.2));
    for (int row = 1; row < 4; ++row) {
        const qreal y = wall.top() + row * 8;
        painter.drawLine(QPointF(wall.left(), y), QPointF(wall.right(), y));
    }
    for (int row = 0; row < 4; ++row) {
        const qreal top = wall.top() + row * 8;
        const qreal offset = row % 2 == 0 ? 14 : 7;
        for (qreal x = wall.left() + offset; x < wall.right() - 1; x += 14)
            painter.drawLine(QPointF(x, top), QPointF(x, top + 8));
    }
}

void drawWaves(QPainter &painter, QPointF origin, int count, QColor colour)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap));
    for (int i = 1; i <= count; ++i) {
        const qreal r = 4 + i * 4.5;
        painter.drawArc(QRectF(origin.x() - r, origin.y() - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
    }
}

void drawAccessPoint(QPainter &painter, QPointF c)
{
    drawWaves(painter, QPointF(c.x(), c.y() + 2), 3, deviceBlue);
    painter.setPen(QPen(deviceDark, 1.5));
    painter.setBrush(deviceBlue);
    painter.drawRoundedRect(QRectF(c.x() - 22, c.y() + 3, 44, 14), 7, 7);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x9b, 0xf0, 0xa6));
    painter.drawEllipse(QPointF(c.x(), c.y() + 10), 2.2, 2.2);
}

void drawController(QPainter &painter, QPointF c)
{
    painter.setPen(QPen(QColor(0x4a, 0x2f, 0x7a), 1.5));
    painter.setBrush(QColor(0x6e, 0x4b, 0xaa));
    painter.drawRoundedRect(QRectF(c.x() - 29, c.y() - 13, 58, 26), 4, 4);
    drawWaves(painter, QPointF(c.x(), c.y() + 8), 2, Qt::white);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(c.x(), c.y() + 6), 2.2, 2.2);
}

QPainterPath cloudPath(QPointF c)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addEllipse(QRectF(c.x() - 66, c.y() - 12, 54, 40));
    path.addEllipse(QRectF(c.x() - 44, c.y() - 32, 56, 50));
    path.addEllipse(QRectF(c.x() - 4, c.y() - 30, 52, 46));
    path.addEllipse(QRectF(c.x() + 18, c.y() - 12, 50, 40));
    path.addRoundedRect(QRectF(c.x() - 50, c.y() - 4, 100, 34), 16, 16);
    return path.simplified();
}

void drawCloud(QPainter &painter, QPointF c)
{
    painter.setPen(QPen(QColor(0x7d, 0x93, 0xb2), 1.8));
    painter.setBrush(QColor(0xe6, 0xee, 0xf8));
    painter.drawPath(cloudPath(c));
}

void drawIcon(QPainter &painter, const Device &device)
{
    const QPointF c = device.centre;
    switch (device.kind) {
    case DeviceKind::Router:
        return drawRouter(painter, c);
    case DeviceKind::Switch:
        return drawSwitch(painter, c);
    case DeviceKind::Pc:
        return drawPc(painter, c);
    case DeviceKind::Laptop:
        return drawLaptop(painter, c);
    case DeviceKind::Server:
        return drawServer(painter, c);
    case DeviceKind::Firewall:
        return drawFirewall(painter, c);
    case DeviceKind::AccessPoint:
        return drawAccessPoint(painter, c);
    case DeviceKind::Controller:
        return drawController(painter, c);
    case DeviceKind::Cloud:
        return drawCloud(painter, c);
    }
}

// Text on a white plate, so that labels stay readable where they cross a line.
void drawPlatedText(QPainter &painter, QPointF anchor, const QString &text, const QFont &font,
                    Qt::Alignment align, bool plate)
{
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const QRectF bounds = metrics.boundingRect(QRectF(0, 0, 1000, 1000), Qt::AlignLeft, text);
    qreal left = anchor.x();
    if (align & Qt::AlignHCenter)
        left -= bounds.width() / 2;
    else if (align & Qt::AlignRight)
        left -= bounds.width();
    const QRectF area(left, anchor.y(), bounds.width(), bounds.height());
    if (plate) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 235));
        painter.drawRoundedRect(area.adjusted(-3, -1, 3, 1), 3, 3);
    }
    painter.setPen(inkColour);
    const Qt::Alignment lineAlign = align & (Qt::AlignHCenter | Qt::AlignRight)
                                        ? (align & Qt::AlignHorizontal_Mask)
                                        : Qt::AlignLeft;
    painter.drawText(area, lineAlign | Qt::AlignTop, text);
}

// Text centred on a point (both ways), on a plate.
void drawCentredLabel(QPainter &painter, QPointF centre, const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    const QRectF bounds = metrics.boundingRect(QRectF(0, 0, 1000, 1000), Qt::AlignLeft, text);
    drawPlatedText(painter, QPointF(centre.x(), centre.y() - bounds.height() / 2), text, font,
                   Qt::AlignHCenter, true);
}

const Device *findDevice(const Topology &topology, const QString &name)
{
    for (const Device &device : topology.devices) {
        if (device.name == name)
            return &device;
    }
    return nullptr;
}

// Area of a device's caption and note under its icon (empty for clouds, whose caption is
// inside the icon).
QRectF captionArea(const Device &device)
{
    if (device.kind == DeviceKind::Cloud)
        return {};
    const QRectF caption = QFontMetricsF(uiFont(13, true))
                               .boundingRect(QRectF(0, 0, 1000, 1000), Qt::AlignLeft, device.label);
    QSizeF size = caption.size();
    if (!device.note.isEmpty()) {
        const QRectF note = QFontMetricsF(uiFont(11))
                                .boundingRect(QRectF(0, 0, 1000, 1000), Qt::AlignLeft, device.note);
        size = QSizeF(std::max(size.width(), note.width()), size.height() + note.height());
    }
    const qreal top = device.centre.y() + iconHalfExtent(device.kind).height() + 3;
    return QRectF(device.centre.x() - size.width() / 2, top, size.width(), size.height());
}

// Distance from an icon's centre to its outline along a direction.
qreal edgeDistance(DeviceKind kind, QPointF unit)
{
    const QSize half = iconHalfExtent(kind);
    const qreal tx = unit.x() == 0 ? 1e9 : half.width() / std::abs(unit.x());
    const qreal ty = unit.y() == 0 ? 1e9 : half.height() / std::abs(unit.y());
    return std::min(tx, ty);
}

// Where an interface label goes: just outside the icon along the link, moved further out
// while it would cover the device's caption.
QPointF interfaceLabelCentre(const Device &device, QPointF unit, QPointF side, const QString &text)
{
    const QRectF bounds =
        QFontMetricsF(uiFont(11)).boundingRect(QRectF(0, 0, 1000, 1000), Qt::AlignLeft, text);
    const QRectF caption = captionArea(device).adjusted(-3, -2, 3, 2);
    qreal distance = edgeDistance(device.kind, unit) + 16;
    // Far enough to the side that the label's plate does not cover the line itself.
    const qreal offset = std::abs(side.x()) * (bounds.width() / 2 + 5) +
                         std::abs(side.y()) * (bounds.height() / 2 + 3);
    QPointF centre;
    for (int step = 0; step < 150; ++step, distance += 2) {
        centre = QPointF(device.centre) + unit * distance + side * offset;
        const QRectF label(centre.x() - bounds.width() / 2 - 3, centre.y() - bounds.height() / 2,
                           bounds.width() + 6, bounds.height());
        if (!label.intersects(caption))
            break;
    }
    return centre;
}

void drawLinkLine(QPainter &painter, QPointF a, QPointF b, LinkStyle style)
{
    painter.setBrush(Qt::NoBrush);
    switch (style) {
    case LinkStyle::Solid:
        painter.setPen(QPen(lineColour, 2.2));
        painter.drawLine(a, b);
        return;
    case LinkStyle::Dashed:
        painter.setPen(QPen(lineColour, 2, Qt::DashLine));
        painter.drawLine(a, b);
        return;
    case LinkStyle::Wireless:
        painter.setPen(QPen(deviceBlue, 2, Qt::DotLine, Qt::RoundCap));
        painter.drawLine(a, b);
        return;
    case LinkStyle::Tunnel:
        painter.setPen(QPen(QColor(0xe0, 0x8a, 0x1e, 110), 10, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(a, b);
        painter.setPen(QPen(QColor(0xb3, 0x62, 0x00), 2, Qt::DashLine));
        painter.drawLine(a, b);
        return;
    case LinkStyle::Serial: {
        // A serial line carries a small lightning step in its middle.
        const QPointF d = b - a;
        const qreal length = std::hypot(d.x(), d.y());
        if (length < 40) {
            painter.setPen(QPen(QColor(0xa3, 0x2a, 0x2a), 2.2));
            painter.drawLine(a, b);
            return;
        }
        const QPointF u = d / length;
        const QPointF n(-u.y(), u.x());
        const QPointF mid = (a + b) / 2;
        QPolygonF line;
        line << a << mid - u * 8 << mid + n * 8 << mid - n * 8 << mid + u * 8 << b;
        painter.setPen(
            QPen(QColor(0xa3, 0x2a, 0x2a), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(line);
        return;
    }
    }
}

void drawLinkLabels(QPainter &painter, const Topology &topology, const Link &link)
{
    const Device *from = findDevice(topology, link.from);
    const Device *to = findDevice(topology, link.to);
    const QPointF a = from->centre;
    const QPointF b = to->centre;
    const QPointF d = b - a;
    const qreal length = std::hypot(d.x(), d.y());
    if (length == 0)
        return;
    const QPointF u = d / length;
    // Labels sit on the upper side of a horizontal link and the right side of a vertical one.
    QPointF n(u.y(), -u.x());
    if (n.y() > 0.01 || (std::abs(n.y()) <= 0.01 && n.x() < 0))
        n = -n;
    const QFont font = uiFont(11);
    if (!link.fromText.isEmpty()) {
        const QPointF p = interfaceLabelCentre(*from, u, n, link.fromText) + link.fromShift;
        drawCentredLabel(painter, p, link.fromText, font);
    }
    if (!link.toText.isEmpty()) {
        const QPointF p = interfaceLabelCentre(*to, -u, n, link.toText) + link.toShift;
        drawCentredLabel(painter, p, link.toText, font);
    }
    if (!link.text.isEmpty()) {
        const QPointF p = (a + b) / 2 - n * 14 + link.textShift;
        drawCentredLabel(painter, p, link.text, uiFont(11, true));
    }
}

void drawDeviceCaption(QPainter &painter, const Device &device)
{
    if (device.kind == DeviceKind::Cloud) {
        drawCentredLabel(painter, QPointF(device.centre) + QPointF(0, 2), device.label,
                         uiFont(13, true));
        return;
    }
    const qreal bottom = device.centre.y() + iconHalfExtent(device.kind).height() + 3;
    drawPlatedText(painter, QPointF(device.centre.x(), bottom), device.label, uiFont(13, true),
                   Qt::AlignHCenter, true);
    if (!device.note.isEmpty()) {
        const qreal noteTop = bottom + QFontMetricsF(uiFont(13, true)).height();
        drawPlatedText(painter, QPointF(device.centre.x(), noteTop), device.note, uiFont(11),
                       Qt::AlignHCenter, true);
    }
}

void drawBox(QPainter &painter, const Box &box)
{
    painter.setPen(QPen(QColor(0x8a, 0x9b, 0xb5), 1.2));
    painter.setBrush(box.fill);
    painter.drawRoundedRect(QRectF(box.rect).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    qreal top = box.rect.top() + 6;
    if (!box.title.isEmpty()) {
        const QFont font = uiFont(12, true);
        painter.setFont(font);
        painter.setPen(inkColour);
        painter.drawText(QRectF(box.rect.left() + 8, top, box.rect.width() - 16, 20),
                         Qt::AlignLeft | Qt::AlignTop, box.title);
        top += QFontMetricsF(font).height() + 4;
    }
    if (!box.text.isEmpty()) {
        painter.setFont(box.mono ? monoFont(11) : uiFont(11));
        painter.setPen(inkColour);
        painter.drawText(
            QRectF(box.rect.left() + 8, top, box.rect.width() - 16, box.rect.bottom() - top),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, box.text);
    }
}

void drawSlot(QPainter &painter, QRect area)
{
    painter.setBrush(slotFill);
    QPen pen(slotBorder, 1.5, Qt::DashLine);
    painter.setPen(pen);
    painter.drawRect(QRectF(area).adjusted(0.75, 0.75, -0.75, -0.75));
}

} // namespace

QImage renderTopology(const Topology &topology)
{
    QImage image(topology.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    painter.setPen(QPen(QColor(0xc8, 0xd0, 0xdc), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, topology.size.width() - 1, topology.size.height() - 1));
    if (!topology.title.isEmpty())
        drawPlatedText(painter, QPointF(12, 8), topology.title, uiFont(14, true), Qt::AlignLeft,
                       false);

    for (const Box &box : topology.boxes)
        drawBox(painter, box);
    for (const Link &link : topology.links) {
        drawLinkLine(painter, findDevice(topology, link.from)->centre,
                     findDevice(topology, link.to)->centre, link.style);
    }
    for (const Device &device : topology.devices)
        drawIcon(painter, device);
    for (const Link &link : topology.links)
        drawLinkLabels(painter, topology, link);
    for (const Device &device : topology.devices)
        drawDeviceCaption(painter, device);
    for (const FreeText &text : topology.texts)
        drawPlatedText(painter, text.position, text.text, uiFont(text.pixelSize, text.bold),
                       text.align, false);
    for (const Slot &slot : topology.slots)
        drawSlot(painter, QRect(slot.topLeft, topology.slotSize));
    return image;
}
