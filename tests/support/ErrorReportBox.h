#pragma once

#include "common/ErrorReport.h"
#include "common/MessageBoxes.h"

// The box ShowErrorReport shows for report, to compare with what a fake recorded.
inline MessageBoxRequest errorReportBox(const ErrorReport &report)
{
    return {errorReportTitle, report.text(), MessageIcon::Critical, MessageButtons::Ok};
}
