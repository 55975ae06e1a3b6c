#include "platform/fake/fake_desktop.h"

#include "core/runtime_error.h"

namespace vcit::platform {

int FakeMessageBoxes::show(const std::string& text, const std::string& title, unsigned style) {
  log_.add("message " + text);
  shown_.push_back({text, title, style});
  if (answers_.empty()) return mb::kAnswerOk;
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::vector<std::string> FakeMessageBoxes::texts() const {
  std::vector<std::string> out;
  for (const auto& m : shown_) out.push_back(m.text);
  return out;
}

void FakeClipboard::setText(const std::string& text) {
  if (failNext) {
    failNext = false;
    throw RuntimeError(521, "Can't open Clipboard");
  }
  log_.add("clipboard " + text);
  text_ = text;
}

class FakeShellObject : public ShellObject {
 public:
  explicit FakeShellObject(FakeShell& shell) : shell_(shell) { ++shell_.alive_; }
  ~FakeShellObject() override {
    --shell_.alive_;
    shell_.log_.add("shell released");
  }
  void FileRun() override {
    if (shell_.failFileRun) throw RuntimeError(err::kAutomationError);
    shell_.log_.add("FileRun");
  }

 private:
  FakeShell& shell_;
};

std::unique_ptr<ShellObject> FakeShell::create() {
  if (failCreate) throw RuntimeError(429, "ActiveX component can't create object");
  log_.add("shell created");
  return std::make_unique<FakeShellObject>(*this);
}

void FakeEventPump::doEvents() {
  log_.add("events");
  if (auto run = std::move(pending)) {
    pending = nullptr;
    run();
  }
}

void FakeProgramStarter::start(const std::string& path) {
  if (failStart) raise(err::kFileNotFound);
  if (files_) {
    if (path.empty()) raise(err::kFileNotFound);
    if (files_->folderExists(path)) raise(err::kPermissionDenied);
    const FakeFileSystem::File* file = files_->find(path);
    if (!file) raise(err::kFileNotFound);
    if (file->bytes.rfind("MZ", 0) != 0) raise(err::kInvalidProcedureCall);
  }
  log_.add("start " + path);
  started.push_back(path);
}

}  // namespace vcit::platform
