#include "moduledb/Archive.h"

#include <cstddef>
#include <cstdint>

// Unpacking an archive given as bytes: every input must end in a parse result, never a
// crash, a hang or an allocation beyond the size bounds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ParsedArchive parsed =
        parseArchive(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (const UnpackedEntry &entry : parsed.entries) {
        if (!isSafeEntryName(entry.name))
            __builtin_trap(); // an unsafe name must never reach the file system
    }
    return 0;
}
