#include "StartUp.h"

#include "testdb/LoadTest.h"
#include "testdb/Unpack.h"

ModuleSteps moduleReaderSteps()
{
    return {ExtractDecompressor, UnpackTest, LoadTest};
}
