#pragma once

#include <windows.h>

#include <functional>

#include "platform/desktop.h"

namespace vcit::platform {

// Decides what happens to a message taken from the queue before the standard translation and
// dispatch: true when it has been handled (a form's own keyboard navigation). The window
// toolkit installs one; its own message loop uses the same filter.
using MessageFilter = std::function<bool(MSG&)>;

// Translates and dispatches one message unless the filter handles it.
void dispatchMessage(MSG& message, const MessageFilter& filter);

// Processes every pending message of the calling thread, then returns. A WM_QUIT is put back
// for the program's message loop and ends the processing.
class Win32EventPump : public EventPump {
 public:
  void doEvents() override;
  MessageFilter filter;
};

}  // namespace vcit::platform
