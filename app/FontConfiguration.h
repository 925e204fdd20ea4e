#pragma once

// Reads the system's font configuration and font lists, which the first text drawn would
// otherwise read on the main thread. Safe on any thread and at any time: the font system
// keeps the first configuration loaded, whoever loaded it.
void loadFontConfiguration();
