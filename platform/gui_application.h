// Whether the process runs a graphical application; without one, cursors and screens are absent.
#pragma once

bool HasGuiApplication();
