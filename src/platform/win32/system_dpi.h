#pragma once

// The DPI the program's windows are laid out at, from the best the system offers: a window's
// own (Windows 10 1607 on), its monitor's (Windows 8.1 and early Windows 10, where the program
// runs aware of each monitor's DPI), else the system's (Windows 7 and 8, from GetDeviceCaps).
// Each takes the system's newer functions; the tests hand in some of them missing.

#include <windows.h>

#include "platform/win32/newer_functions.h"

namespace vcit::platform::win32 {

unsigned systemDpi(const NewerFunctions& f = NewerFunctions::system());
unsigned windowDpi(HWND window, const NewerFunctions& f = NewerFunctions::system());

// AdjustWindowRectEx at a DPI. Without AdjustWindowRectExForDpi the frame is the system DPI's;
// a window placed by it corrects its size by what its client area then lacks.
void adjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, unsigned dpi,
                            const NewerFunctions& f = NewerFunctions::system());

// A system metric (an icon's size) at a DPI: without GetSystemMetricsForDpi, the system DPI's
// metric scaled to it.
int systemMetricForDpi(int index, unsigned dpi, const NewerFunctions& f = NewerFunctions::system());

}  // namespace vcit::platform::win32
