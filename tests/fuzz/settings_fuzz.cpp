// Feeds arbitrary bytes as the settings store's file: the option records and the main window's
// settings are loaded, every value of every section is read with the checks, and the records are
// written back and loaded again. Any crash or sanitizer report is a fault, and so is a second load
// that differs from the first or finds anything to repair again: what a load repaired must stay
// repaired.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/frame_settings.h"
#include "platform/options.h"
#include "platform/settings_check.h"
#include "platform/settings_store.h"
#include "tests/support/settings_file.h"

namespace {

const QList<QRect> kScreens{QRect(0, 0, 1600, 1000), QRect(1600, 200, 1280, 720)};

// Every value below `section`, read as a text.
void ReadEverything(TCheckedSettings& checked, const QString& section, int depth) {
  const TSettingsStore& store = checked.Store();
  for (const QString& name : store.ValueNames(section).value_or(QStringList()))
    checked.Text(section, name, {});
  for (const QString& child : store.SubkeyNames(section).value_or(QStringList()))
    if (depth < 64)
      ReadEverything(checked, section.isEmpty() ? child : section + '\\' + child, depth + 1);
}

struct SRecords {
  SViewOptions view;
  SFileOptions file;
  SSoundOptions sound;
  SMainFrameSettings frame{100, 100, 800, 600};
  QStringList repairs;

  void Load() {
    repairs = LoadOptions(view) + LoadOptions(file) + LoadOptions(sound) +
              LoadFrameSettings(frame, kScreens);
  }
  void Store() const {
    StoreOptions(view);
    StoreOptions(file);
    StoreOptions(sound);
    StoreFrameSettings(frame);
  }
  bool operator==(const SRecords& other) const {
    return view == other.view && file == other.file && sound == other.sound && frame == other.frame;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The store warns about every value it cannot make a type of; here that is most of them.
  [[maybe_unused]] static const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  WriteSettingsFile(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  SRecords first;
  first.Load();
  {
    const TSettingsStore store;
    TCheckedSettings checked(store);
    ReadEverything(checked, QString(), 0);
  }
  first.Store();
  SRecords second;
  second.Load();
  if (!(second == first) || !second.repairs.isEmpty()) std::abort();
  TakeSettingsRepairs();
  return 0;
}
