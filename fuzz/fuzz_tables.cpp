#include "FuzzInputs.h"

#include "moduledb/BankCheck.h"

#include <cstddef>
#include <cstdint>

// Loading table files given as bytes into a checked question bank.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QuestionBank bank;
    if (!loadTables(framedTableFiles(data, size), bank) && checkBank(bank))
        __builtin_trap(); // a bank that loaded must pass its own check
    return 0;
}
