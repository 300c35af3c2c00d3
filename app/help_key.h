// F1 in the main window: the help topic of the module in focus, that is the one module selected
// on the front page of the active editor window in `editors`, or the contents when none (or
// several) are. Dialogs answer F1 with their own topic.
#pragma once

class QMdiArea;
class QWidget;

void ShowFocusedHelp(const QMdiArea& editors);
// Makes F1 in `window` call ShowFocusedHelp.
void InstallHelpKey(QWidget& window, const QMdiArea& editors);
