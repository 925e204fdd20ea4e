#pragma once

#include "common/OneBasedArray.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QString>

// The data of one run: the paths set at start-up, the loaded module and the state of the
// current test. main owns it and hands it by reference to the windows.
struct AppContext
{
    QString programFolder;
    QString moduleFolder;
    QString testDbPath;
    // The file of graded tests; empty keeps no history.
    QString historyPath;
    OneBasedArray<QString> testFiles;
    QuestionBank bank;
    TestState state;
};
