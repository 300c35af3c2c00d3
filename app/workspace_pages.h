// The workspace beside the editor windows: the " Sounds ", " Modules " and " Groups " pages.
#pragma once

#include <QTabWidget>

class TFileBrowserPage;
class TMainFrame;

struct SWorkspacePages {
  QTabWidget* pages = nullptr;
  TFileBrowserPage* sounds = nullptr;
  TFileBrowserPage* groups = nullptr;
};

// The pages; at the first start the browsers get the bundled examples.
SWorkspacePages BuildWorkspacePages(TMainFrame& frame);
