#pragma once

#include "ModuleSource.h"

#include <QStringList>

// What a reviewer of exam items would flag in a source that validates, one line per
// warning, each naming the file, the question and the field ("questions/: " for a finding
// about the whole bank). Warnings never stop the packer.
QStringList lintModule(const ModuleSource &source);
