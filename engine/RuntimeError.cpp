#include "RuntimeError.h"

#include "common/ErrorReport.h"

#include <new>
#include <stdexcept>

void reportRuntimeError(const std::exception &error, const QString &procedureLine)
{
    // The numbers and descriptions users and support know from the report.
    ErrorReport report{QString(), 0, procedureLine};
    if (dynamic_cast<const std::out_of_range *>(&error)) {
        report.description = QStringLiteral("Subscript out of range");
        report.number = 9;
    } else if (dynamic_cast<const std::bad_alloc *>(&error)) {
        report.description = QStringLiteral("Out of memory");
        report.number = 7;
    } else {
        report.description = QStringLiteral("Invalid procedure call or argument");
        report.number = 5;
    }
    ShowErrorReport(report);
}
