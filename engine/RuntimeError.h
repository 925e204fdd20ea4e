#pragma once

#include <QString>

#include <exception>
#include <utility>

// Shows the error report for a run-time error caught inside an engine procedure.
// procedureLine is the report's last line, e.g. "Function Name: InitTest".
void reportRuntimeError(const std::exception &error, const QString &procedureLine);

// Runs a procedure's body; a run-time error inside it shows the error report ending in
// procedureLine, and the procedure returns fallback instead.
template <typename Result, typename Body>
Result guarded(const QString &procedureLine, Result fallback, Body &&body)
{
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception &error) {
        reportRuntimeError(error, procedureLine);
        return fallback;
    }
}

// The same for a procedure that returns nothing.
template <typename Body> void guarded(const QString &procedureLine, Body &&body)
{
    try {
        std::forward<Body>(body)();
    } catch (const std::exception &error) {
        reportRuntimeError(error, procedureLine);
    }
}
