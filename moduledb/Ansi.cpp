#include "Ansi.h"

#include <array>

namespace {
// Unicode code points of bytes 0x80..0x9F; the rest of the page equals Latin-1.
constexpr std::array<char16_t, 32> highControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<char> encodeChar(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return char(unit);
    for (std::size_t i = 0; i < highControls.size(); ++i) {
        if (highControls[i] == unit)
            return char(0x80 + i);
    }
    return std::nullopt;
}
} // namespace

QString fromAnsi(QByteArrayView bytes)
{
    // The page is Latin-1 but for 0x80..0x9F: convert in bulk, then replace those few.
    QString text = QString::fromLatin1(bytes);
    unsigned highControlCount = 0;
    for (char byte : bytes)
        highControlCount += unsigned(quint8(byte) - 0x80u) < 0x20u;
    if (highControlCount == 0)
        return text;
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (out[i] >= 0x80 && out[i] < 0xA0)
            out[i] = highControls[out[i] - 0x80];
    }
    return text;
}

std::optional<QByteArray> toAnsi(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) {
        const auto encoded = encodeChar(ch.unicode());
        if (!encoded)
            return std::nullopt;
        bytes.append(*encoded);
    }
    return bytes;
}
