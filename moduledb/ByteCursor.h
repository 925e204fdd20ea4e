#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

// Reads little-endian fields from a byte range without ever reading past its end: a read
// that does not fit returns nothing and leaves the position where it was.
class ByteCursor
{
public:
    explicit ByteCursor(QByteArrayView bytes) : m_bytes(bytes) {}

    qsizetype position() const { return m_position; }
    qsizetype remaining() const { return m_bytes.size() - m_position; }
    bool atEnd() const { return remaining() == 0; }

    std::optional<quint8> readByte();
    std::optional<qint16> readInt16();
    std::optional<quint16> readUint16();
    std::optional<qint32> readInt32();
    std::optional<QByteArrayView> readBytes(qsizetype count);

private:
    QByteArrayView m_bytes;
    qsizetype m_position = 0;
};
