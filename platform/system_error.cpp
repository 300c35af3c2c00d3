#include "platform/system_error.h"

#include <cstring>

#include "platform/message_box.h"

namespace {

// The C library's text for codes it does not know starts like this.
constexpr char kUnknownErrorPrefix[] = "Unknown error";

}  // namespace

QString SystemErrorReport(unsigned code, const QString& apiName) {
  const QString text = QString::fromLocal8Bit(std::strerror(static_cast<int>(code)));
  if (text.isEmpty() || text.startsWith(QLatin1String(kUnknownErrorPrefix))) return {};
  return QStringLiteral(
             "ERROR: API        = %1.\n"
             "       error code = %2\n"
             "       message    = %3.\n")
      .arg(apiName)
      .arg(code)
      .arg(text);
}

void ReportSystemError(QWidget* owner, unsigned code, const QString& apiName) {
  const QString report = SystemErrorReport(code, apiName);
  if (report.isEmpty()) return;
  ShowMessage(owner, {QString(), report, TMessageIcon::Warning, TMessageButtons::Ok});
}

QString ShellErrorText(int code) {
  switch (code) {
    case 2:
      return QStringLiteral("The specified file was not found !");
    case 3:
      return QStringLiteral("The specified path was not found !");
    case 5:
      return QStringLiteral("The operating system denied access to the specified file !");
    case 8:
      return QStringLiteral("There was not enough memory to complete the operation !");
    default:
      return QStringLiteral("Unknown Error : %1 ?").arg(code);
  }
}
