#pragma once

// Owners of the Win32 resources the program uses, one kind each: every resource is released
// by the owner that took it, on every path out of the scope. Only src/platform/win32 (and the
// window toolkit) includes this header.

#include <windows.h>

#include <objbase.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace vcit::platform::win32 {

// A moveable owner of a handle value with a close function and one or two "no handle" values.
template <class Traits>
class UniqueResource {
 public:
  using Value = typename Traits::Value;

  UniqueResource() = default;
  explicit UniqueResource(Value value) : value_(value) {}
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { reset(); }

  Value get() const { return value_; }
  explicit operator bool() const { return Traits::valid(value_); }
  void reset(Value value = Traits::empty()) {
    if (Traits::valid(value_)) Traits::close(value_);
    value_ = value;
  }
  [[nodiscard]] Value release() { return std::exchange(value_, Traits::empty()); }

 private:
  Value value_ = Traits::empty();
};

// A kernel object handle (file, thread, event). False for both "no handle" values Windows
// uses (NULL and INVALID_HANDLE_VALUE).
struct KernelHandleTraits {
  using Value = HANDLE;
  static Value empty() { return nullptr; }
  static bool valid(Value h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(Value h) { CloseHandle(h); }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

// A directory search of FindFirstFile, which fails with INVALID_HANDLE_VALUE.
struct FindHandleTraits {
  using Value = HANDLE;
  static Value empty() { return INVALID_HANDLE_VALUE; }
  static bool valid(Value h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(Value h) { FindClose(h); }
};
using UniqueFindHandle = UniqueResource<FindHandleTraits>;

// An open registry key. The predefined roots (HKEY_CURRENT_USER and the like) are never
// owned: closing them would be a no-op at best.
struct RegistryKeyTraits {
  using Value = HKEY;
  static Value empty() { return nullptr; }
  static bool valid(Value key) { return key != nullptr; }
  static void close(Value key) { RegCloseKey(key); }
};
using UniqueRegistryKey = UniqueResource<RegistryKeyTraits>;

// A module of LoadLibrary.
struct ModuleTraits {
  using Value = HMODULE;
  static Value empty() { return nullptr; }
  static bool valid(Value module) { return module != nullptr; }
  static void close(Value module) { FreeLibrary(module); }
};
using UniqueModule = UniqueResource<ModuleTraits>;

// A view of a file mapping (MapViewOfFile).
struct MappedViewTraits {
  using Value = void*;
  static Value empty() { return nullptr; }
  static bool valid(Value view) { return view != nullptr; }
  static void close(Value view) { UnmapViewOfFile(view); }
};
using UniqueMappedView = UniqueResource<MappedViewTraits>;

// Memory a function handed out to be freed with LocalFree (a security descriptor).
struct LocalMemoryTraits {
  using Value = void*;
  static Value empty() { return nullptr; }
  static bool valid(Value memory) { return memory != nullptr; }
  static void close(Value memory) { LocalFree(memory); }
};
using UniqueLocal = UniqueResource<LocalMemoryTraits>;

// ---- GDI objects and icons -------------------------------------------------------------------

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const noexcept {
    if (object) DeleteObject(object);
  }
};
struct IconDeleter {
  void operator()(HICON icon) const noexcept {
    if (icon) DestroyIcon(icon);
  }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniquePen = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiObjectDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// ---- Device contexts -------------------------------------------------------------------------

// The client-area DC of a window (GetDC), released to it again.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// The painting of a WM_PAINT (BeginPaint), ended with EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { EndPaint(window_, &paint_); }
  HDC get() const { return dc_; }
  const PAINTSTRUCT& paint() const { return paint_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a DC; the one it replaced is selected again at the end of the scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// ---- COM -------------------------------------------------------------------------------------

// COM on the calling thread for the owner's lifetime (a single-threaded apartment unless told
// otherwise). A thread that had COM already keeps it; only a successful initialisation,
// S_FALSE included, is balanced by CoUninitialize.
class ComInit {
 public:
  explicit ComInit(DWORD model = COINIT_APARTMENTTHREADED)
      : result_(CoInitializeEx(nullptr, model)) {}
  ComInit(const ComInit&) = delete;
  ComInit& operator=(const ComInit&) = delete;
  ~ComInit() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

// One reference to a COM interface, released at the end.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) reset(std::exchange(other.p_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Takes over a reference the pointer already holds.
  void reset(T* p = nullptr) {
    if (p_) p_->Release();
    p_ = p;
  }
  // For a function that hands out an interface through a void** (CoCreateInstance,
  // QueryInterface): the reference held so far is released first.
  void** out() {
    reset();
    return reinterpret_cast<void**>(&p_);
  }

 private:
  T* p_ = nullptr;
};

}  // namespace vcit::platform::win32
