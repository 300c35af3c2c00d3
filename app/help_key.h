// F1 in the main window: the help topic of the module in focus, that is the one module selected
// on the active editor's front page, or the contents when none (or several) are. Dialogs answer
// F1 with their own topic.
#pragma once

class TMainFrame;

void ShowFocusedHelp(TMainFrame& frame);
// Makes F1 call ShowFocusedHelp.
void InstallHelpKey(TMainFrame& frame);
