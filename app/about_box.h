// The about box: the program's name, version and icon.
#pragma once

class QWidget;

void ShowAboutBox(QWidget* owner);
