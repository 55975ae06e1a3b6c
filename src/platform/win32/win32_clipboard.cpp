#include "platform/win32/win32_clipboard.h"

#include <windows.h>

#include <cstring>

#include "core/runtime_error.h"
#include "platform/win32/text_conversion.h"

namespace vcit::platform {
namespace {

constexpr int kCantEmptyClipboard = 520;
constexpr int kCantOpenClipboard = 521;

class ClipboardSession {
 public:
  ClipboardSession() {
    // Another program (or the X clipboard bridge) may hold it for a moment.
    for (int attempt = 0; attempt < 25; ++attempt) {
      if (OpenClipboard(nullptr)) return;
      Sleep(20);
    }
    throw RuntimeError(kCantOpenClipboard, "Can't open Clipboard");
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  ~ClipboardSession() { CloseClipboard(); }
};

// Moveable global memory holding a copy of the data, freed unless the clipboard took it.
class GlobalMemory {
 public:
  explicit GlobalMemory(const void* data, std::size_t size)
      : memory_(GlobalAlloc(GMEM_MOVEABLE, size)) {
    if (!memory_) raise(err::kOutOfMemory);
    void* target = GlobalLock(memory_);
    if (!target) {
      GlobalFree(memory_);
      raise(err::kOutOfMemory);
    }
    std::memcpy(target, data, size);
    GlobalUnlock(memory_);
  }
  GlobalMemory(const GlobalMemory&) = delete;
  GlobalMemory& operator=(const GlobalMemory&) = delete;
  ~GlobalMemory() {
    if (memory_) GlobalFree(memory_);
  }
  // Hands the memory to the clipboard, which owns it from then on.
  bool placeOnClipboard(UINT format) {
    if (!SetClipboardData(format, memory_)) return false;
    memory_ = nullptr;
    return true;
  }

 private:
  HGLOBAL memory_;
};

}  // namespace

void Win32Clipboard::setText(const std::string& text) {
  const std::wstring wide = win32::widen(text);
  const std::string ansiText = win32::toCodePage(text);
  GlobalMemory unicode(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  GlobalMemory bytes(ansiText.c_str(), ansiText.size() + 1);
  ClipboardSession session;
  if (!EmptyClipboard()) throw RuntimeError(kCantEmptyClipboard, "Can't empty Clipboard");
  if (!unicode.placeOnClipboard(CF_UNICODETEXT) || !bytes.placeOnClipboard(CF_TEXT))
    throw RuntimeError(kCantOpenClipboard, "Can't open Clipboard");
}

std::string Win32Clipboard::text() {
  ClipboardSession session;
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  const auto* chars = static_cast<const wchar_t*>(GlobalLock(data));
  if (!chars) return {};
  const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < capacity && chars[length] != L'\0') ++length;
  std::string result = win32::narrow(chars, length);
  GlobalUnlock(data);
  return result;
}

}  // namespace vcit::platform
