// Texts for failures of the operating system and of starting external programs.
#pragma once

#include <QString>

class QWidget;

// Shows the three-line report of a failed system call with the system's text for `code` (an
// errno value), captioned like any warning. Nothing is shown when the system has no text.
void ReportSystemError(QWidget* owner, unsigned code, const QString& apiName);

// The three-line report itself, or an empty string when the system has no text for `code`.
QString SystemErrorReport(unsigned code, const QString& apiName);

// The text for a failed start of an external program with the given code.
QString ShellErrorText(int code);
