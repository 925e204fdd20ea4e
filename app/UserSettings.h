#pragma once

#include <optional>

class QSettings;
class QString;
struct CustomSettings;

// What a person chose that the next run starts with, kept in their settings: the font size
// of the test window, the last Custom test settings and the main window's place and size.
namespace UserSettings {
QString fontSizeKey();
QString geometryKey();

void storeCustom(QSettings &settings, const CustomSettings &custom);
// The Custom settings last stored, without the number of questions, which every showing
// of the window sets afresh; nothing before the first Custom test.
std::optional<CustomSettings> storedCustom(const QSettings &settings);
} // namespace UserSettings
