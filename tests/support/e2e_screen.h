#pragma once

// What the screen shows of another process's windows: single pixels, the height of a
// control's text, and screenshots saved as PNG files. Windows only.

#ifdef _WIN32

#include <windows.h>

#include <string>

namespace vcit::e2e {

// The colour the screen shows at this point of the window's client area.
COLORREF pixelAt(HWND window, int x, int y);
// How many pixel rows of the control, inset by this many pixels on each side, hold dark
// (text) pixels: the height of the text it shows.
int inkRows(HWND control, int inset);
// How many pixels of the control stand out from its background colour: its text's, whatever
// colour that is drawn in.
int inkPixels(HWND control, COLORREF background);
// Saves what the screen shows of the window (or the whole screen, with null) as a PNG file.
bool saveScreenshot(HWND window, const std::string& pngPath);

}  // namespace vcit::e2e

#endif  // _WIN32
