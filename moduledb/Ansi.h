#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Text in the module is single-byte Windows-1252. The five bytes that code page leaves
// undefined map to the C1 control with the same number, so every byte sequence survives
// a round trip.
QString fromAnsi(QByteArrayView bytes);

// Encodes text as Windows-1252; nullopt when a character has no encoding.
std::optional<QByteArray> toAnsi(const QString &text);
