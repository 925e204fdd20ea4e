#include "ErrorReport.h"

#include "MessageBoxes.h"

QString ErrorReport::errInfo() const
{
    return QStringLiteral("\nError Description: ") + description +
           QStringLiteral("\nError Number: ") + QString::number(number);
}

QString ErrorReport::errProc() const
{
    return QStringLiteral("\n") + procedureLine;
}

QString ErrorReport::text() const
{
    return QStringLiteral("An error has occured. Please restart Quendra and try again.\r\n"
                          "If the error persists, please report to ") +
           supportAddress + QStringLiteral(" for assistance.") + errInfo() + errProc();
}

void ShowErrorReport(const ErrorReport &report)
{
    showMessage(errorReportTitle, report.text(), MessageIcon::Critical, MessageButtons::Ok);
}
