#pragma once

#include <exception>
#include <new>
#include <string>

#include "core/runtime_error.h"
#include "platform/desktop.h"

namespace vcit::ui {

// The common failure report: "<number>:<description>", critical icon, OK, application title.
void reportFailure(platform::MessageBoxes& messages, const RuntimeError& error);

// The run-time error a caught exception stands for: itself when it is one, 7 for an
// exhausted memory, 51 for anything else.
RuntimeError asRuntimeError(const std::exception& e);

// Handler shape "report and stop": any error ends the action with the common failure report
// (anything that is not a std::exception as error 51). Gives false when the action failed. It
// is also what an error escaping a handler meets (the window's procedure runs every handler
// under it).
template <class Body>
bool reportAndStop(platform::MessageBoxes& messages, Body&& body) {
  try {
    body();
    return true;
  } catch (const std::exception& e) {
    reportFailure(messages, asRuntimeError(e));
  } catch (...) {
    reportFailure(messages, RuntimeError(err::kInternalError));
  }
  return false;
}

// One step under the handler shape "skip a missing file": error 53 goes on with the next step,
// every other error goes to the enclosing reportAndStop.
template <class Step>
void skipFileNotFound(Step&& step) {
  try {
    step();
  } catch (const RuntimeError& e) {
    if (e.number() != err::kFileNotFound) throw;
  }
}

}  // namespace vcit::ui
