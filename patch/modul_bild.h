// A signal module with a picture button that opens its dialog: the base of every catalogue
// module and of the macro modules.
#pragma once

#include <string>

#include "patch/modul_arbeiten.h"

// The picture on a module's panel: the name of its artwork (a BITMAP_ name; empty: none) and
// the top-left corner of the picture button inside the panel, in unzoomed points.
struct SModulePicture {
  std::string name;
  int x = 28;
  int y = 18;
};

class TModulBild : public TModulArbeiten {
 public:
  // Opens the module's dialog; by default the standard name dialog.
  virtual void ShowProperties();
  // Opens the module's help topic; by default the help contents.
  virtual void ShowHelp();
  // What the panel's picture button shows and where; by default no picture at (28, 18). Every
  // kind answers here whatever it keeps of its look itself, and views ask only this.
  virtual SModulePicture PanelPicture() const;

  // Fits the height to the inputs (used when inputs are added or removed) and lays the ports
  // out again.
  void ResizeToPorts();
  // Fits the height to the larger port list, at least two rows; only while the module is shown.
  void ResizeToAllPorts();

 protected:
  // Top of a picture kept centred on a panel whose height follows its ports (adder, macro):
  // 16 on a panel of the default height.
  int CentredPictureTop() const;
  // The height of a module with `rows` port rows below the title bar.
  static int HeightForRows(int rows);
  void SetHeightAndLayOut(int rows);
};
