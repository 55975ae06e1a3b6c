#include "ui/handlers.h"

#include <string>

#include "meta/version.h"

namespace vcit::ui {

void reportFailure(platform::MessageBoxes& messages, const RuntimeError& error) {
  messages.show(std::to_string(error.number()) + ":" + error.description(), app::kTitle,
                platform::mb::kOk | platform::mb::kIconCritical);
}

void reportCaught(platform::MessageBoxes& messages) {
  try {
    throw;
  } catch (const std::exception& e) {
    reportFailure(messages, asRuntimeError(e));
  } catch (...) {
    reportFailure(messages, RuntimeError(err::kInternalError));
  }
}

RuntimeError asRuntimeError(const std::exception& e) {
  if (const auto* runtime = dynamic_cast<const RuntimeError*>(&e)) return *runtime;
  if (dynamic_cast<const std::bad_alloc*>(&e)) return RuntimeError(err::kOutOfMemory);
  return RuntimeError(err::kInternalError);
}

}  // namespace vcit::ui
