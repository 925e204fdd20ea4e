#pragma once

#include "moduledb/QuestionBank.h"

#include <QString>

// A small, valid module with one question of every type: two objectives, two prompts, the
// seven question types. Tests damage copies of it.
QuestionBank sampleBank();

// The files of a test folder, sorted, e.g. to show that nothing was left behind.
QStringList filesIn(const QString &folder);
