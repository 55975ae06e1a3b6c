#include "platform/fake/fake_system.h"

#include "core/text.h"

namespace vcit::platform {

System::Expanded FakeSystem::expandEnvironmentStrings(const std::string& text,
                                                      std::uint32_t capacity) {
  ++expandCalls;
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t open = text.find('%', i);
    const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
    if (close == std::string::npos) {
      out += text.substr(i);
      break;
    }
    out += text.substr(i, open - i);
    const std::string name = text.substr(open + 1, close - open - 1);
    bool found = false;
    for (const auto& entry : environment) {
      const std::size_t eq = entry.find('=', 1);
      if (eq != std::string::npos && text::equalsIgnoreCase(entry.substr(0, eq), name)) {
        out += entry.substr(eq + 1);
        found = true;
        break;
      }
    }
    if (!found) out += text.substr(open, close - open + 1);
    i = close + 1;
  }
  Expanded result;
  result.count = static_cast<std::uint32_t>(text::length(out) + 1);
  if (result.count <= capacity) result.text = out;
  return result;
}

std::string FakeSystem::environmentEntry(int n) {
  if (n < 1 || static_cast<std::size_t>(n) > environment.size()) return {};
  return environment[static_cast<std::size_t>(n - 1)];
}

int FakeSystem::compareIgnoringCase(const std::string& a, const std::string& b) {
  return text::compareIgnoreCase(a, b);
}

std::string FakeSystem::foldCase(const std::string& name) {
  return text::foldCase(name);
}

bool FakeSystem::libraryLoads(const std::string& name) {
  librariesAsked.push_back(name);
  return librariesLoad;
}

void FakeSystem::endProgram() {
  throw ProgramEnded{};
}

}  // namespace vcit::platform
