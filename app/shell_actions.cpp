#include "app/shell_actions.h"

#include "app/default_device_dialog.h"
#include "app/main_actions.h"
#include "app/options_sound_dialog.h"
#include "app/options_view_dialog.h"
#include "app/sound_session.h"
#include "app/tools_menu.h"
#include "patch/dokument_klang.h"
#include "persist/tree_message.h"

namespace {

// Shows `dialog` modally; true on OK.
bool Confirmed(QDialog&& dialog) { return dialog.exec() == QDialog::Accepted; }

void ConnectDevice(QWidget& window, QAction* item, TSoundSession& session, TDeviceKind kind) {
  QObject::connect(item, &QAction::triggered, &window, [&window, &session, kind] {
    Confirmed(TDefaultDeviceDialog(kind, SoundOptions(), session.Document(), &window));
  });
}

}  // namespace

void ConnectShellDialogs(QWidget& window, const TMainActions& actions, TSoundSession& session) {
  QObject::connect(actions.ViewOptions, &QAction::triggered, &window, [&window, &session] {
    if (!Confirmed(TOptionsViewDialog(ViewOptions(), &window))) return;
    if (TDokumentKlang* document = session.Document())
      document->Broadcast(kTreeColorsChanged, 0, nullptr);
  });
  QObject::connect(actions.SoundOptions, &QAction::triggered, &window, [&window, &session] {
    if (Confirmed(TOptionsSoundDialog(SoundOptions(), &window))) session.RestartSound();
  });
  ConnectDevice(window, actions.DefaultWaveOut, session, TDeviceKind::WaveOut);
  ConnectDevice(window, actions.DefaultWaveIn, session, TDeviceKind::WaveIn);
  ConnectDevice(window, actions.DefaultMidiIn, session, TDeviceKind::MidiIn);
  new TToolsMenu(*actions.Tools, *actions.ToolsConfig, window);
}
