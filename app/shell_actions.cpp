#include "app/shell_actions.h"

#include "app/default_device_dialog.h"
#include "app/help_key.h"
#include "app/main_frame.h"
#include "app/options_file_dialog.h"
#include "app/options_sound_dialog.h"
#include "app/options_view_dialog.h"
#include "app/tools_menu.h"
#include "patch/dokument_klang.h"
#include "persist/tree_message.h"

namespace {

// Shows `dialog` modally; true on OK.
bool Confirmed(QDialog&& dialog) { return dialog.exec() == QDialog::Accepted; }

void ConnectDevice(TMainFrame& frame, QAction* item, TDeviceKind kind) {
  QObject::connect(item, &QAction::triggered, &frame, [&frame, kind] {
    Confirmed(TDefaultDeviceDialog(kind, SoundOptions(), frame.Document(), &frame));
  });
}

}  // namespace

void ConnectShellDialogs(TMainFrame& frame) {
  TMainActions& a = frame.Actions();
  QObject::connect(a.ViewOptions, &QAction::triggered, &frame, [&frame] {
    if (!Confirmed(TOptionsViewDialog(ViewOptions(), &frame))) return;
    if (TDokumentKlang* document = frame.Document())
      document->Broadcast(kTreeColorsChanged, 0, nullptr);
  });
  QObject::connect(a.FileOptions, &QAction::triggered, &frame, [&frame] {
    if (Confirmed(TOptionsFileDialog(FileOptions(), &frame))) frame.FileOptionsChanged();
  });
  QObject::connect(a.SoundOptions, &QAction::triggered, &frame, [&frame] {
    if (!Confirmed(TOptionsSoundDialog(SoundOptions(), &frame))) return;
    if (TDokumentKlang* document = frame.Document()) document->RestartSound(true);
  });
  ConnectDevice(frame, a.DefaultWaveOut, TDeviceKind::WaveOut);
  ConnectDevice(frame, a.DefaultWaveIn, TDeviceKind::WaveIn);
  ConnectDevice(frame, a.DefaultMidiIn, TDeviceKind::MidiIn);
  new TToolsMenu(*a.Tools, *a.ToolsConfig, frame);
  InstallHelpKey(frame);
}
