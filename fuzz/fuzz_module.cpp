#include "engine/InitTest.h"
#include "engine/Selection.h"
#include "moduledb/Archive.h"
#include "moduledb/QuestionBank.h"
#include "moduledb/TableReader.h"

#include <cstddef>
#include <cstdint>

// The whole road from archive bytes to a test: unpack, load, check, then set up a test of
// every mode, which must stay inside the bank for any module that passed the check.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ParsedArchive parsed =
        parseArchive(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (parsed.failure != ArchiveFailure::None)
        return 0;
    QList<TableFile> files;
    for (const UnpackedEntry &entry : parsed.entries) {
        if (!isProgramFolderEntry(entry.name))
            files.append({entry.name, entry.content});
    }
    QuestionBank bank;
    if (loadTables(files, bank))
        return 0;
    for (int mode : {StudyMode, ExamMode}) {
        TestState state;
        SizeSessionArrays(bank, state);
        if (!InitTest(mode, bank, state))
            continue;
        for (int item = 1; item <= state.testLength; ++item) {
            const int q = GetQueID(state, item);
            if (!bank.questions.contains(q))
                __builtin_trap();
        }
    }
    return 0;
}
