#include "app/tools.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/message_box.h"
#include "platform/settings_check.h"
#include "platform/settings_store.h"
#include "platform/system_error.h"

namespace {

constexpr char kSection[] = "Tools";
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kAccessDenied = 5;
constexpr int kOutOfMemory = 8;
constexpr int kUnknownFailure = 0;

QString ToolSection(const QString& title) { return QString(kSection) + '\\' + title; }

// The result for a program file that cannot be started, or 0 when it looks startable.
int ProgramFault(const QString& program) {
  if (program.isEmpty()) return kFileNotFound;
  const bool bare = !program.contains('/');
  const QString found = bare ? QStandardPaths::findExecutable(program) : program;
  const QFileInfo file(found);
  if (found.isEmpty() || !file.exists()) {
    return !bare && !file.absoluteDir().exists() ? kPathNotFound : kFileNotFound;
  }
  if (file.isDir() || !file.isExecutable()) return kAccessDenied;
  return 0;
}

// The start reports its failure by the system's text of the error.
int FailureOfStart(const QString& reason) {
  const struct {
    int error;
    int result;
  } kReasons[] = {{ENOENT, kFileNotFound}, {ENOTDIR, kPathNotFound}, {EACCES, kAccessDenied},
                  {EPERM, kAccessDenied},  {ENOMEM, kOutOfMemory},   {EAGAIN, kOutOfMemory}};
  for (const auto& known : kReasons) {
    if (reason.contains(QString::fromLocal8Bit(std::strerror(known.error)))) return known.result;
  }
  return kUnknownFailure;
}

void Write(TSettingsStore& store, const TToolList& tools) {
  store.DeleteSection(kSection);
  QHash<QString, QString> firstOfCase;  // the first title written, by its case-folded form
  for (const SToolEigenschaft& tool : tools) {
    const QString folded = tool.title.toCaseFolded();
    if (!firstOfCase.contains(folded)) firstOfCase.insert(folded, tool.title);
    const QString section = ToolSection(firstOfCase.value(folded));
    store.WriteString(section, "Kommand", tool.kommand);
    store.WriteString(section, "Path", tool.path);
    store.WriteString(section, "Directory", tool.directory);
  }
}

}  // namespace

TToolList LoadTools() {
  TSettingsStore store;
  TCheckedSettings checked(store);
  const QStringList titles = store.SubkeyNames(kSection).value_or(QStringList());
  TToolList tools;
  for (const QString& title : checked.Limited(kSection, titles, kMaxTools, "tools")) {
    const QString section = ToolSection(title);
    tools.append({title, checked.Text(section, "Kommand", {}), checked.Text(section, "Path", {}),
                  checked.Text(section, "Directory", {})});
  }
  if (!checked.Repairs().isEmpty()) Write(store, tools);
  return tools;
}

void SaveTools(const TToolList& tools) {
  TSettingsStore store;
  Write(store, tools);
}

int StartTool(const SToolEigenschaft& tool) {
  if (const int fault = ProgramFault(tool.path)) return fault;
  if (!tool.directory.isEmpty() && !QFileInfo(tool.directory).isDir()) return kPathNotFound;
  QProcess process;
  process.setProgram(tool.path);
  process.setArguments(QProcess::splitCommand(tool.kommand));
  if (!tool.directory.isEmpty()) process.setWorkingDirectory(tool.directory);
  if (!process.startDetached()) return FailureOfStart(process.errorString());
  return kToolStarted;
}

void RunTool(QWidget* owner, const TToolList& tools, const QString& title) {
  const auto tool = std::find_if(tools.begin(), tools.end(),
                                 [&title](const SToolEigenschaft& t) { return t.title == title; });
  QString failure;
  if (tool == tools.end()) {
    failure = "Error 1";
  } else if (const int result = StartTool(*tool); result <= 32) {
    failure = ShellErrorText(result);
  }
  if (!failure.isEmpty()) {
    ShowMessage(owner, {"Info Execute File", failure, TMessageIcon::Error, TMessageButtons::Ok});
  }
}
