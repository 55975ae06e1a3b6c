#pragma once

// A driver for the programs that drive the launcher under Wine (the end-to-end tests, the
// fault test and the Windows benchmarks): it prepares a program folder (the launcher's .exe,
// its Mods folder and state file), a game folder and registry values, starts the real .exe,
// finds its windows, clicks and types as a user does, answers message boxes, takes
// screenshots, writes large files with known contents and measures. Windows only. Each part
// has its own header; this one brings them all.

#include "support/e2e_files.h"
#include "support/e2e_folders.h"
#include "support/e2e_input.h"
#include "support/e2e_measures.h"
#include "support/e2e_message_boxes.h"
#include "support/e2e_pattern_files.h"
#include "support/e2e_process.h"
#include "support/e2e_registry.h"
#include "support/e2e_screen.h"
#include "support/e2e_text.h"
#include "support/e2e_windows.h"
