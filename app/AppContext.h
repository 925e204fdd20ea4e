#pragma once

#include "common/OneBasedArray.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QString>

class QSettings;

// The data of one run: the paths set at start-up, the loaded module and the state of the
// current test. main owns it and hands it by reference to the windows.
struct AppContext
{
    QString programFolder;
    QString moduleFolder;
    // Where the module's tables are unpacked and loaded from: moduleFolder when it can be
    // written, else the user's own folder.
    QString tableFolder;
    // Where readme.txt and eula.txt go: the program folder when it can be written.
    QString textFolder;
    QString testDbPath;
    // The file of graded tests; empty keeps no history.
    QString historyPath;
    OneBasedArray<QString> testFiles;
    // The person's choices kept between runs; none where nothing is to be kept (tests).
    QSettings *userSettings = nullptr;
    QuestionBank bank;
    TestState state;
};
