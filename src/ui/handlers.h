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

// What an error that no handler handles does: the common failure report of the exception
// being handled (to be called in a catch block), anything that is not a std::exception as
// error 51.
void reportCaught(platform::MessageBoxes& messages);

// Handler shape "report and stop": any error ends the action with the common failure report.
// Gives false when the action failed.
template <class Body>
bool reportAndStop(platform::MessageBoxes& messages, Body&& body) {
  try {
    body();
    return true;
  } catch (...) {
    reportCaught(messages);
    return false;
  }
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
