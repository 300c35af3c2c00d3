#include "patch/window_description.h"

TFenster::TFenster()
    : Visible(std::make_shared<TPropInteger>(1)),
      Rect(std::make_shared<TPropRect>()),
      Title(std::make_shared<TPropString>("Unknown")),
      WindowState(std::make_shared<TPropInteger>(0)) {
  Add("Visible", Visible);
  Add("Rect", Rect);
  Add("Title", Title);
  Add("WindowState", WindowState);
}

TFensterMitPanel::TFensterMitPanel()
    : ActiveWindow(std::make_shared<TPropInteger>(1)),
      ModuleList(std::make_shared<TModuleListe>()) {
  ModuleList->parent = this;
  Add("ActiveWindow", ActiveWindow);
  Add("ModuleList", ModuleList);
}
