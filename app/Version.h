#pragma once

#include <QString>

// The program's version, set by the build from the project version.
constexpr int versionMajor = QUENDRA_VERSION_MAJOR;
constexpr int versionMinor = QUENDRA_VERSION_MINOR;
constexpr int versionRevision = QUENDRA_VERSION_REVISION;

// "1.2.7": major, minor and revision joined with dots.
inline QString versionText()
{
    return QString::number(versionMajor) + QLatin1Char('.') + QString::number(versionMinor) +
           QLatin1Char('.') + QString::number(versionRevision);
}
