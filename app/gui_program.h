// The graphical program: the main window over the sound named on the command line.
#pragma once

// Runs the program until its main window closes; 1 when there is no display to show it on.
int RunGuiProgram(int argc, char** argv);
