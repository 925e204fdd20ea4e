#pragma once

#include <QString>
#include <QtGlobal>

// The build folder, where the program, Module/ and the packer live; set by ctest.
inline QString buildDir()
{
    return qEnvironmentVariable("QUENDRA_BUILD_DIR");
}
