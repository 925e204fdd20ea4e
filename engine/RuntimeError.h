#pragma once

#include <QString>

#include <exception>

// Shows the error report for a run-time error caught inside an engine procedure.
// procedureLine is the report's last line, e.g. "Function Name: InitTest".
void reportRuntimeError(const std::exception &error, const QString &procedureLine);
