#pragma once

#include "ModuleSource.h"

#include <QStringList>

// Everything in the source that a module must not hold, one message per problem, each
// naming the file and the field; empty when the module can be packed.
QStringList validateModule(const ModuleSource &source);
