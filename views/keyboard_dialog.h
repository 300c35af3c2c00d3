// The keyboard dialog of the key and envelope modules: the title, the note offset and fine
// tuning, the volume and whether MIDI velocity is ignored.
#pragma once

#include "modules/midi.h"
#include "views/module_dialog.h"

class QCheckBox;
class QGroupBox;
class QSlider;

class TFormKeyboard : public TModuleDialog {
 public:
  explicit TFormKeyboard(TBasisMidiTaste& keys);

  // Stores the title and the four settings; the module then restarts a playing sound.
  bool Accept() override;

 private:
  // A track bar of 0..`maximum` at `position` with its end labels and a label that shows the
  // position less `shownOffset`.
  static QSlider* AddTrackBar(QGroupBox& group, const char* name, int maximum, int position,
                              int shownOffset, const QString& first, const QString& last);

  TBasisMidiTaste& keys_;
  QLineEdit* EditName;
  QSlider* TrackBarNoteOffset;
  QSlider* TrackBarFineTuning;
  QSlider* TrackBarVolume;
  QCheckBox* CheckBoxMidiVelocity;
};

void AddKeyboardDialogs(TModuleDialogOpeners& openers);
