// Colour depth of the display, which chooses the workspace colours at start-up.
#pragma once

// Bits per pixel of the primary screen; 24 when there is no screen.
int ScreenBitsPerPixel();
