#include "ByteCursor.h"

std::optional<quint8> ByteCursor::readByte()
{
    const auto bytes = readBytes(1);
    if (!bytes)
        return std::nullopt;
    return quint8((*bytes)[0]);
}

std::optional<qint16> ByteCursor::readInt16()
{
    const auto value = readUint16();
    if (!value)
        return std::nullopt;
    return qint16(*value);
}

std::optional<quint16> ByteCursor::readUint16()
{
    const auto bytes = readBytes(2);
    if (!bytes)
        return std::nullopt;
    return quint16(quint8((*bytes)[0]) | quint8((*bytes)[1]) << 8);
}

std::optional<qint32> ByteCursor::readInt32()
{
    const auto bytes = readBytes(4);
    if (!bytes)
        return std::nullopt;
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | quint8((*bytes)[i]);
    return qint32(value);
}

std::optional<QByteArrayView> ByteCursor::readBytes(qsizetype count)
{
    if (count < 0 || count > remaining())
        return std::nullopt;
    const QByteArrayView bytes = m_bytes.sliced(m_position, count);
    m_position += count;
    return bytes;
}
