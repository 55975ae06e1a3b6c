#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_events.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_program_starter.h"
#include "platform/win32/win32_progress.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"

namespace vcit::platform {

// Every real platform service, owned together, and the Platform that hands them out. Made
// once on the user-interface thread at program start and kept for the whole run.
struct Win32Platform {
  Win32Platform() { keyboard.events = &events; }
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Win32Registry registry;
  Win32FileSystem files;
  Win32MessageBoxes messages;
  Win32Clipboard clipboard;
  Win32Shell shell;
  Win32EventPump events;
  Win32Keyboard keyboard;
  Win32ProgramStarter programs;
  Win32System system;
  Win32Progress progress;
  Platform platform{registry, files,  messages, clipboard, shell,
                    keyboard, events, programs, system,    progress};
};

}  // namespace vcit::platform
