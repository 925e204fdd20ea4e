#pragma once

#include <QPixmap>

// The program's logo, drawn at the given height: a navy badge with a white Q.
QPixmap quendraLogo(int height);
