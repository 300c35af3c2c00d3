// The workspace beside the editor windows: the " Sounds ", " Modules " and " Groups " pages.
#pragma once

#include <QTabWidget>

class TMainFrame;

QTabWidget* BuildWorkspacePages(TMainFrame& frame);
