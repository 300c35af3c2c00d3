// Wires the main window's option, default device and Tools items to their dialogs, and what the
// window does after each OK; and F1.
#pragma once

class TMainFrame;

void ConnectShellDialogs(TMainFrame& frame);
