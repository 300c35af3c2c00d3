// The default device of one kind (MIDI input, wave input, wave output): the devices the system
// has, by name, with at most one of them checked. OK stores the choice in the sound options, tells
// the open sound (whose modules on the default device follow it) and restarts a playing sound.
#pragma once

#include "app/shell_dialog.h"
#include "platform/options.h"

class QListWidget;
class QListWidgetItem;
class TDokumentKlang;

enum class TDeviceKind { MidiIn = 0, WaveIn = 1, WaveOut = 2 };

class TDefaultDeviceDialog : public TShellDialog {
 public:
  // `document` may be null: then only the options change.
  TDefaultDeviceDialog(TDeviceKind kind, SSoundOptions& options, TDokumentKlang* document,
                       QWidget* parent = nullptr);

  QListWidget& List() { return *list_; }
  // The checked device's index, -1 for none.
  int Selected() const { return selected_; }

 private:
  bool Confirm() override;
  void Fill();
  void Checked(QListWidgetItem* item);
  int& Stored() const;

  TDeviceKind kind_;
  SSoundOptions& options_;
  TDokumentKlang* document_;
  QListWidget* list_;
  int selected_;
};
