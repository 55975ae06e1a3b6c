#pragma once

#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/progress.h"
#include "platform/registry_api.h"
#include "platform/system.h"

namespace vcit::platform {

// Every platform service the program's logic uses, handed in from the program's start (the
// real ones) or from a test (the fakes).
struct Platform {
  Registry& registry;
  FileSystem& files;
  MessageBoxes& messages;
  Clipboard& clipboard;
  Shell& shell;
  Keyboard& keyboard;
  EventPump& events;
  ProgramStarter& programs;
  System& system;
  Progress& progress;
};

}  // namespace vcit::platform
