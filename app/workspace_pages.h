// The workspace beside the editor windows: the " Sounds ", " Modules " and " Groups " pages.
#pragma once

#include <QTabWidget>

class QAction;
class TFileBrowserPage;
class TSoundSession;

struct SWorkspacePages {
  QTabWidget* pages = nullptr;
  TFileBrowserPage* sounds = nullptr;
  TFileBrowserPage* groups = nullptr;
};

// The pages; at the first start the browsers get the bundled examples. A sound chosen on the
// " Sounds " page opens in `session`; `saveGroup` is the " Groups " page's save button.
SWorkspacePages BuildWorkspacePages(TSoundSession& session, QAction& saveGroup);
