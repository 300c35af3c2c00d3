// Wires the main window's view and sound options, default device and Tools items to their
// dialogs, and what the sound session does after each OK.
#pragma once

class QWidget;
class TMainActions;
class TSoundSession;

// The dialogs show over `window`.
void ConnectShellDialogs(QWidget& window, const TMainActions& actions, TSoundSession& session);
