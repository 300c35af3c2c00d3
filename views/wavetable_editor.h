// The wavetable editor: the title, the size of the sequence, "Start Random", a palette of the
// five waveforms and one slot per position of the sequence. A palette wave dragged onto a slot
// takes that position; releasing the left button over a slot removes its position. The working
// sequence (TWavetableEdit) reaches the module only on OK.
#pragma once

#include <QToolButton>
#include <functional>

#include "modules/wavetable_editing.h"
#include "views/module_dialog.h"

class QCheckBox;
class QMimeData;
class QScrollArea;

// The drag data of a palette wave: its wave code.
QMimeData* WaveDragData(int waveCode);

// One position of the sequence: shows its wave, takes a dropped palette wave and reports a
// release of the left button.
class TWaveSlot : public QToolButton {
 public:
  TWaveSlot(int position, int waveCode, QWidget* parent);

  // Called with the position and the dropped wave code.
  std::function<void(int, int)> onDrop;
  // Called with the position when the left button is released over the slot.
  std::function<void(int)> onRelease;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int position_;
};

class TFormWaveTable : public TModuleDialog {
 public:
  explicit TFormWaveTable(TWavetableGenerator& module);

  // Stores the sequence, the title and the random start; a size typed but not confirmed with
  // the size button is not applied. A playing sound restarts with the new sequence.
  bool Accept() override;

 private:
  void AddSizeRow();
  void AddPalette();
  void SpeedButtonOkSizeClick();
  void RebuildSlots();
  void RemoveSlot(int position);
  // The size field shows the working count; the size button waits for the next change.
  void ShowCount();

  TWavetableGenerator& module_;
  TWavetableEdit edit_;
  QLineEdit* EditName;
  QLineEdit* MaskEditSize = nullptr;
  QToolButton* SpeedButtonOkSize = nullptr;
  QCheckBox* CheckBoxRandomStart;
  QScrollArea* ScrollBoxWaves;
  QWidget* slots_;
};

void AddWavetableDialogs(TModuleDialogOpeners& openers);
