#pragma once

#include "platform/fake/call_log.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_progress.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_system.h"
#include "platform/platform.h"

namespace vcit::platform {

// Every fake service, sharing one call log, and the Platform that hands them out.
struct FakePlatform {
  CallLog log;
  FakeRegistry registry;
  FakeFileSystem files;
  FakeMessageBoxes messages{log};
  FakeClipboard clipboard{log};
  FakeShell shell{log};
  FakeKeyboard keyboard{log};
  FakeEventPump events{log};
  FakeProgramStarter programs{log, &files};
  FakeSystem system;
  FakeProgress progress{log};
  Platform platform{registry, files,  messages, clipboard, shell,
                    keyboard, events, programs, system,    progress};
};

}  // namespace vcit::platform
