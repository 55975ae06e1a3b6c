#pragma once

// Windows' DLLs come from Windows' own folder, never from the program's folder, where a player
// may have unpacked a file of the same name with a download or a mod pack. The .exe imports at
// load time only DLLs that Windows always takes from its own list (the KnownDLLs); the others
// the program uses are loaded here, from System32 (or from the side-by-side assembly the
// program's manifest names, as comctl32 version 6 is).

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include "platform/win32/newer_functions.h"

namespace vcit::platform::win32 {

// The program's first call: every later load of a DLL by name, the program's own and those
// Windows' DLLs make for it, finds Windows' own copy. Where the system has
// SetDefaultDllDirectories (Windows 8 on, Windows 7 with KB2533623) the search is System32's
// alone; elsewhere the current folder leaves the search (SetDllDirectoryW) and the DLLs are
// loaded by their System32 path. Either way the DLLs that Windows' own DLLs load later by name
// (and Wine's, whose delay loads do not follow the search setting) are loaded from System32
// here, so that a later load by name finds them loaded rather than a copy in the program's
// folder. False when Windows refuses the setting.
bool searchDllsInSystem32Only(const NewerFunctions& f = NewerFunctions::system());

// A DLL of Windows from System32 (or from the side-by-side assembly the program's manifest
// names, as comctl32 version 6 is), never from the program's folder; null when missing.
HMODULE loadFromSystem32(const wchar_t* name, const NewerFunctions& f = NewerFunctions::system());

// comctl32's InitCommonControlsEx; false as well when comctl32 cannot be loaded.
bool initCommonControls(const INITCOMMONCONTROLSEX& controls);

// oleacc's CreateStdAccessibleObject and LresultFromObject; E_NOTIMPL when oleacc cannot be
// loaded (the window then works, unseen by screen readers).
HRESULT createStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object);
LRESULT lresultFromObject(REFIID iid, WPARAM flags, IUnknown* object);

}  // namespace vcit::platform::win32
