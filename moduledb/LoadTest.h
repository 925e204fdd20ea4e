#pragma once

#include "ModulePreload.h"
#include "QuestionBank.h"

#include "common/OneBasedArray.h"

#include <QString>

// Reads every table file named in testFiles from moduleFolder into bank, deleting each
// file once read, then checks the bank and sets its derived values. On any problem shows
// the error report naming LoadTest and returns false; the table files are deleted in
// every case.
// readAhead, when given, is the module read ahead from the archive that unpacking wrote
// these files from: when every table file is there as written, its bank is taken and the
// files are deleted without being read again.
bool LoadTest(const OneBasedArray<QString> &testFiles, const QString &moduleFolder,
              QuestionBank &bank, PreloadedModule *readAhead = nullptr);
