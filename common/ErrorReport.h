#pragma once

#include <QString>

inline const QString supportAddress = QStringLiteral("support@quendra.example.com");

// The program's one report of a failure inside a procedure. procedureLine is the whole
// last line, e.g. "Procedure Name: LoadTest" or "Function Name: UnpackTest".
struct ErrorReport
{
    QString description;
    int number = 0;
    QString procedureLine;

    QString errInfo() const;
    QString errProc() const;
    QString text() const;
};

inline const QString errorReportTitle = QStringLiteral("An error has occured");

// Shows the report as a critical message box with an OK button.
void ShowErrorReport(const ErrorReport &report);
