#pragma once

#include <memory>
#include <string>

namespace vcit::platform {

// Message box styles and answers with the values Windows gives them.
namespace mb {
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kIconCritical = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;
}  // namespace mb

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A modal message box; gives the answer (mb::kAnswer...).
  virtual int show(const std::string& text, const std::string& title, unsigned style) = 0;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void setText(const std::string& text) = 0;
};

// The shell's automation object (Shell, IShellDispatch); released when destroyed.
class ShellObject {
 public:
  virtual ~ShellObject() = default;
  // Opens the shell's Run dialog and returns.
  virtual void FileRun() = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  virtual std::unique_ptr<ShellObject> create() = 0;
};

class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // Synthesizes keystrokes ("^v", "{enter}") to the window with the keyboard focus and waits
  // until they have been processed.
  virtual void sendKeys(const std::string& keys) = 0;
};

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Processes every pending window event, then returns.
  virtual void doEvents() = 0;
};

class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Starts the program in a normal window that gets the focus; does not wait for it.
  virtual void start(const std::string& path) = 0;
};

}  // namespace vcit::platform
