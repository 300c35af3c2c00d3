// The services of the platform that need a graphical application: the model reaches message
// boxes, the busy cursor and the system clipboard only through the platform's interfaces, and
// a graphical program makes these implementations their defaults once its application exists.
#pragma once

// Makes message boxes, the wait cursor and the system clipboard the defaults of the process;
// call it after the QApplication is made.
void InstallDesktopServices();
