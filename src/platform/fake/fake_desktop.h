#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/fake/call_log.h"
#include "platform/fake/fake_files.h"

namespace vcit::platform {

struct ShownMessage {
  std::string text;
  std::string title;
  unsigned style = 0;
};

// Message boxes answered from a script (OK, or the queued answers in order).
class FakeMessageBoxes : public MessageBoxes {
 public:
  explicit FakeMessageBoxes(CallLog& log) : log_(log) {}
  int show(const std::string& text, const std::string& title, unsigned style) override;

  void queueAnswer(int answer) { answers_.push_back(answer); }
  const std::vector<ShownMessage>& shown() const { return shown_; }
  std::vector<std::string> texts() const;

 private:
  CallLog& log_;
  std::deque<int> answers_;
  std::vector<ShownMessage> shown_;
};

class FakeClipboard : public Clipboard {
 public:
  explicit FakeClipboard(CallLog& log) : log_(log) {}
  void setText(const std::string& text) override;
  const std::string& text() const { return text_; }
  bool failNext = false;  // raises error 521 ("Can't open Clipboard")

 private:
  CallLog& log_;
  std::string text_;
};

class FakeShell : public Shell {
 public:
  explicit FakeShell(CallLog& log) : log_(log) {}
  std::unique_ptr<ShellObject> create() override;
  int alive() const { return alive_; }
  bool failCreate = false;   // raises error 429 (cannot create the object)
  bool failFileRun = false;  // raises error 440 (automation error)

 private:
  friend class FakeShellObject;
  CallLog& log_;
  int alive_ = 0;
};

class FakeKeyboard : public Keyboard {
 public:
  explicit FakeKeyboard(CallLog& log) : log_(log) {}
  void sendKeys(const std::string& keys) override { log_.add("keys " + keys); }

 private:
  CallLog& log_;
};

class FakeEventPump : public EventPump {
 public:
  explicit FakeEventPump(CallLog& log) : log_(log) {}
  void doEvents() override;
  // Runs inside the next doEvents, as a pending window event would.
  std::function<void()> pending;

 private:
  CallLog& log_;
};

// Starts what the given files hold as a program: a file whose bytes begin with the executable
// header "MZ". Refuses what Windows refuses: an empty or missing path (error 53), a folder
// (error 70), any other file (error 5). Without files, every path starts.
class FakeProgramStarter : public ProgramStarter {
 public:
  explicit FakeProgramStarter(CallLog& log, FakeFileSystem* files = nullptr)
      : log_(log), files_(files) {}
  void start(const std::string& path) override;
  bool failStart = false;  // raises error 53, as for a program that does not exist
  std::vector<std::string> started;

 private:
  CallLog& log_;
  FakeFileSystem* files_;
};

}  // namespace vcit::platform
