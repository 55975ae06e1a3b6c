#include "platform/win32/win32_form.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>
#include <exception>
#include <variant>

#include "core/runtime_error.h"
#include "ui/check_box.h"
#include "ui/command_button.h"
#include "ui/handlers.h"
#include "ui/text_box.h"

namespace vcit::platform::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"VCITForm";
constexpr wchar_t kPanelClass[] = L"VCITPanel";

std::wstring toWide(const std::string& text) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

// The access key of a caption: the character after a single "&", lower case; 0 for none.
wchar_t accessKey(const std::wstring& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return static_cast<wchar_t>(std::towlower(caption[i + 1]));
  }
  return 0;
}

COLORREF colourRef(ui::Colour colour) {
  switch (colour) {
    case ui::Colour::ButtonFace:
      return GetSysColor(COLOR_BTNFACE);
    case ui::Colour::WindowBackground:
      return GetSysColor(COLOR_WINDOW);
    case ui::Colour::WindowText:
      return GetSysColor(COLOR_WINDOWTEXT);
    case ui::Colour::Black:
      return RGB(0, 0, 0);
    case ui::Colour::White:
      return RGB(255, 255, 255);
    case ui::Colour::Grey:
      return RGB(128, 128, 128);
    case ui::Colour::Default:
      break;
  }
  return GetSysColor(COLOR_BTNFACE);
}

UniqueFont makeFont(const ui::FontSpec& font, unsigned dpi) {
  return UniqueFont(CreateFontW(-MulDiv(font.points, static_cast<int>(dpi), 72), 0, 0, 0,
                                font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg 2"));
}

UniqueIcon loadIcon(int resource, int size) {
  return UniqueIcon(
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

// A check box without a caption has no text to draw its focus rectangle around: it is drawn
// around the box itself.
LRESULT CALLBACK checkBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                              UINT_PTR /*id*/, DWORD_PTR /*data*/) {
  switch (message) {
    case WM_PAINT: {
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      const auto uiState = static_cast<UINT>(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0));
      if (GetFocus() == hwnd && !(uiState & UISF_HIDEFOCUS) && GetWindowTextLengthW(hwnd) == 0) {
        const HDC dc = GetDC(hwnd);
        RECT client;
        GetClientRect(hwnd, &client);
        DrawFocusRect(dc, &client);
        ReleaseDC(hwnd, dc);
      }
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, checkBoxProc, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

std::vector<Win32Form*>& liveForms() {
  static std::vector<Win32Form*> forms;
  return forms;
}

bool keyDown(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

int twipsToPixels(int twips, unsigned dpi) {
  return MulDiv(twips, static_cast<int>(dpi), 1440);
}

struct Win32Form::Child {
  const ui::ControlLayout* layout = nullptr;
  HWND hwnd = nullptr;
  UniqueFont font;  // its own, when the layout gives one
  UniqueIcon icon;
  wchar_t accessKey = 0;
  std::variant<std::monostate, ui::CommandButton*, ui::CheckBox*, ui::TextBox*, ui::Label*> model;
};

Win32Form::Win32Form(const ui::FormLayout& layout, MessageBoxes& failures)
    : layout_(layout), failures_(failures) {
  registerClasses();
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  if (layout.frame == ui::Frame::Sizable) {
    style |= WS_THICKFRAME;
  } else {
    exStyle |= WS_EX_DLGMODALFRAME;
  }
  if (layout.minButton) style |= WS_MINIMIZEBOX;
  if (layout.maxButton) style |= WS_MAXIMIZEBOX;

  const unsigned systemDpi = GetDpiForSystem();
  RECT frame{0, 0, twipsToPixels(layout.clientWidth, systemDpi),
             twipsToPixels(layout.clientHeight, systemDpi)};
  AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, systemDpi);
  liveForms().push_back(this);
  CreateWindowExW(exStyle, kFormClass, toWide(layout.caption).c_str(), style, CW_USEDEFAULT,
                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                  nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) {
    liveForms().erase(std::find(liveForms().begin(), liveForms().end(), this));
    throw RuntimeError(err::kInternalError, "The window could not be created");
  }
  createChildren();
  applyDpi(GetDpiForWindow(hwnd_), nullptr);
}

Win32Form::~Win32Form() {
  for (auto& child : children_) {
    std::visit(
        [](auto model) {
          if constexpr (!std::is_same_v<decltype(model), std::monostate>) model->bindView({});
        },
        child->model);
  }
  if (captionModel_) captionModel_->bindView({});
  onDestroyed = nullptr;
  onCloseRequest = nullptr;
  if (hwnd_) DestroyWindow(hwnd_);
  auto& forms = liveForms();
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

void Win32Form::registerClasses() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = formProc;
  form.hInstance = GetModuleHandleW(nullptr);
  form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kFormClass;
  RegisterClassExW(&form);

  WNDCLASSEXW panel = form;
  panel.lpfnWndProc = panelProc;
  panel.hbrBackground = nullptr;  // painted in the panel's own colour
  panel.lpszClassName = kPanelClass;
  RegisterClassExW(&panel);
  registered = true;
}

Win32Form* Win32Form::owning(HWND anyWindow) {
  if (!anyWindow) return nullptr;
  const HWND root = GetAncestor(anyWindow, GA_ROOT);
  for (Win32Form* form : liveForms())
    if (form->hwnd_ && form->hwnd_ == root) return form;
  return nullptr;
}

void Win32Form::createChildren() {
  // Created in tab order, so that each parent's children lie in the z-order of the tab order;
  // a parent always before its children.
  std::vector<const ui::ControlLayout*> order = layout_.tabOrder();
  for (const auto& c : layout_.controls)
    if (c.tabIndex < 0) order.push_back(&c);

  std::function<void(const ui::ControlLayout&)> create = [&](const ui::ControlLayout& c) {
    if (findById(c.id)) return;
    HWND parent = hwnd_;
    if (c.parentId != 0) {
      if (!findById(c.parentId)) {
        const ui::ControlLayout* parentLayout = layout_.findId(c.parentId);
        if (!parentLayout) throw RuntimeError(err::kInternalError, "A control has no parent");
        create(*parentLayout);
      }
      parent = findById(c.parentId)->hwnd;
    }

    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    if (c.visible) style |= WS_VISIBLE;
    if (!c.enabled) style |= WS_DISABLED;
    if (c.tabStop) style |= WS_TABSTOP | WS_GROUP;
    if (c.border) exStyle |= WS_EX_CLIENTEDGE;
    const wchar_t* windowClass = L"STATIC";
    switch (c.kind) {
      case ui::ControlKind::CommandButton:
        windowClass = L"BUTTON";
        style |= c.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        break;
      case ui::ControlKind::CheckBox:
        windowClass = L"BUTTON";
        style |= BS_3STATE;  // the model decides the state; a click only tells it
        break;
      case ui::ControlKind::TextBox:
        windowClass = L"EDIT";
        style |= ES_LEFT | ES_AUTOHSCROLL | (c.readOnly ? ES_READONLY : 0);
        break;
      case ui::ControlKind::Panel:
        windowClass = kPanelClass;
        style |= WS_CLIPCHILDREN;
        exStyle |= WS_EX_CONTROLPARENT;
        break;
      case ui::ControlKind::FileList:
        windowClass = L"LISTBOX";
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
        exStyle |= WS_EX_CLIENTEDGE;
        break;
      case ui::ControlKind::Label:
        windowClass = L"STATIC";
        style |= SS_NOPREFIX | (c.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
        break;
    }

    auto child = std::make_unique<Child>();
    child->layout = &c;
    const std::wstring caption = toWide(c.caption);
    child->accessKey = accessKey(caption);
    child->hwnd = CreateWindowExW(exStyle, windowClass, caption.c_str(), style, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                  GetModuleHandleW(nullptr), this);
    if (!child->hwnd) throw RuntimeError(err::kInternalError, "A control could not be created");
    if (c.kind == ui::ControlKind::CheckBox) SetWindowSubclass(child->hwnd, checkBoxProc, 0, 0);
    children_.push_back(std::move(child));
  };
  for (const auto* c : order) create(*c);

  for (const auto* c : layout_.tabOrder()) {
    Child* child = findById(c->id);
    if (child && c->tabStop) tabOrder_.push_back(child);
  }
}

Win32Form::Child* Win32Form::find(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (auto& child : children_)
    if (child->hwnd == hwnd) return child.get();
  return nullptr;
}

Win32Form::Child* Win32Form::findById(int id) {
  for (auto& child : children_)
    if (child->layout->id == id) return child.get();
  return nullptr;
}

HWND Win32Form::child(int id) const {
  for (const auto& child : children_)
    if (child->layout->id == id) return child->hwnd;
  return nullptr;
}

void Win32Form::bind(const std::vector<ui::Binding>& bindings) {
  for (const auto& binding : bindings) {
    if (binding.id == 0) {
      if (auto* const* label = std::get_if<ui::Label*>(&binding.control)) {
        captionModel_ = *label;
        captionModel_->bindView([this, model = *label] {
          if (hwnd_) SetWindowTextW(hwnd_, toWide(model->text()).c_str());
        });
      }
      continue;
    }
    Child* child = findById(binding.id);
    if (!child) throw RuntimeError(err::kInternalError, "No control with this identifier");
    std::visit([child](auto* model) { child->model = model; }, binding.control);
    const HWND hwnd = child->hwnd;

    std::function<void()> refresh;
    if (auto* const* button = std::get_if<ui::CommandButton*>(&binding.control)) {
      refresh = [this, hwnd, model = *button] {
        if (!model->enabled() && GetFocus() == hwnd) focusNext(hwnd, false);
        EnableWindow(hwnd, model->enabled() ? TRUE : FALSE);
      };
      (*button)->bindView(refresh);
    } else if (auto* const* check = std::get_if<ui::CheckBox*>(&binding.control)) {
      refresh = [hwnd, model = *check] {
        const WPARAM state = model->value() == ui::CheckBox::kChecked  ? BST_CHECKED
                             : model->value() == ui::CheckBox::kGrayed ? BST_INDETERMINATE
                                                                       : BST_UNCHECKED;
        SendMessageW(hwnd, BM_SETCHECK, state, 0);
      };
      (*check)->bindView(refresh);
    } else if (auto* const* text = std::get_if<ui::TextBox*>(&binding.control)) {
      refresh = [hwnd, model = *text] { SetWindowTextW(hwnd, toWide(model->text()).c_str()); };
      (*text)->bindView(refresh);
    } else if (auto* const* label = std::get_if<ui::Label*>(&binding.control)) {
      refresh = [hwnd, model = *label] { SetWindowTextW(hwnd, toWide(model->text()).c_str()); };
      (*label)->bindView(refresh);
    }
    if (refresh) refresh();
  }
}

void Win32Form::show(int command) {
  if (!hwnd_) return;
  ShowWindow(hwnd_, shown_ ? SW_SHOW : command);
  shown_ = true;
  UpdateWindow(hwnd_);
}

void Win32Form::bringToFront() {
  if (!hwnd_) return;
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  show();
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
}

void Win32Form::close() {
  if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Win32Form::destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void Win32Form::applyDpi(unsigned dpi, const RECT* suggested) {
  dpi_ = dpi == 0 ? 96 : dpi;
  refreshFonts();
  if (layout_.iconResource != 0) {
    bigIcon_ = loadIcon(layout_.iconResource, GetSystemMetricsForDpi(SM_CXICON, dpi_));
    smallIcon_ = loadIcon(layout_.iconResource, GetSystemMetricsForDpi(SM_CXSMICON, dpi_));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  }
  for (auto& child : children_)
    if (child->layout->iconResource != 0)
      child->icon = loadIcon(child->layout->iconResource, MulDiv(32, static_cast<int>(dpi_), 96));

  if (suggested) {
    // Where the system puts the window, with the client area the layout gives.
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  }
  placeWindow(suggested == nullptr);
  layoutChildren();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32Form::placeWindow(bool atDesignedPosition) {
  const int width = twipsToPixels(layout_.clientWidth, dpi_);
  const int height = twipsToPixels(layout_.clientHeight, dpi_);
  RECT frame{0, 0, width, height};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  // The frame the window really has may differ from the computed one (its DPI not yet the
  // new one, a window manager's decoration): correct by what the client area lacks.
  RECT client;
  GetClientRect(hwnd_, &client);
  RECT window;
  GetWindowRect(hwnd_, &window);
  const int dw = width - client.right, dh = height - client.bottom;
  if (dw != 0 || dh != 0) {
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + dw,
                 window.bottom - window.top + dh, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    GetWindowRect(hwnd_, &window);
  }
  if (atDesignedPosition && layout_.screenPosition) {
    POINT origin{0, 0};
    ClientToScreen(hwnd_, &origin);
    const int x = twipsToPixels(layout_.screenPosition->left, dpi_);
    const int y = twipsToPixels(layout_.screenPosition->top, dpi_);
    SetWindowPos(hwnd_, nullptr, window.left + x - origin.x, window.top + y - origin.y, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  }
}

void Win32Form::layoutChildren() {
  for (auto& child : children_) {
    const ui::TwipsRect& r = child->layout->rect;
    SetWindowPos(child->hwnd, nullptr, twipsToPixels(r.left, dpi_), twipsToPixels(r.top, dpi_),
                 twipsToPixels(r.width, dpi_), twipsToPixels(r.height, dpi_),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32Form::refreshFonts() {
  // The new fonts are in use before the old ones go.
  UniqueFont font = makeFont(layout_.font, dpi_);
  std::vector<UniqueFont> old;
  for (auto& child : children_) {
    HFONT use = font.get();
    if (child->layout->font) {
      old.push_back(std::move(child->font));
      child->font = makeFont(*child->layout->font, dpi_);
      use = child->font.get();
    }
    SendMessageW(child->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(use), TRUE);
  }
  font_ = std::move(font);
}

HBRUSH Win32Form::brushFor(ui::Colour colour) {
  switch (colour) {
    case ui::Colour::ButtonFace:
    case ui::Colour::Default:
      return GetSysColorBrush(COLOR_BTNFACE);
    case ui::Colour::WindowBackground:
      return GetSysColorBrush(COLOR_WINDOW);
    case ui::Colour::WindowText:
      return GetSysColorBrush(COLOR_WINDOWTEXT);
    default:
      break;
  }
  auto& brush = brushes_[static_cast<std::size_t>(colour)];
  if (!brush) brush.reset(CreateSolidBrush(colourRef(colour)));
  return brush.get();
}

HBRUSH Win32Form::colours(HDC dc, HWND control) {
  const Child* child = find(control);
  if (!child) return nullptr;
  const ui::ControlLayout& c = *child->layout;
  if (c.background == ui::Colour::Default && c.foreground == ui::Colour::Default) {
    if (c.kind != ui::ControlKind::Label) return nullptr;
  }
  SetTextColor(dc, c.foreground == ui::Colour::Default ? GetSysColor(COLOR_BTNTEXT)
                                                       : colourRef(c.foreground));
  SetBkColor(dc, colourRef(c.background));
  return brushFor(c.background);
}

void Win32Form::paintLines(HDC dc) {
  for (const auto& line : layout_.lines) {
    const int width = std::max(1, MulDiv(line.widthPixels, static_cast<int>(dpi_), 96));
    const int x1 = twipsToPixels(line.x1, dpi_), y1 = twipsToPixels(line.y1, dpi_);
    const int x2 = twipsToPixels(line.x2, dpi_), y2 = twipsToPixels(line.y2, dpi_);
    RECT r;
    if (y1 == y2) {
      r = {std::min(x1, x2), y1, std::max(x1, x2) + 1, y1 + width};
    } else if (x1 == x2) {
      r = {x1, std::min(y1, y2), x1 + width, std::max(y1, y2) + 1};
    } else {
      UniquePen pen(CreatePen(PS_SOLID, width, colourRef(line.colour)));
      const HGDIOBJ old = SelectObject(dc, pen.get());
      MoveToEx(dc, x1, y1, nullptr);
      LineTo(dc, x2, y2);
      SelectObject(dc, old);
      continue;
    }
    FillRect(dc, &r, brushFor(line.colour));
  }
}

void Win32Form::dispatch(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ui::reportFailure(failures_, ui::asRuntimeError(e));
  } catch (...) {
    ui::reportFailure(failures_, RuntimeError(err::kInternalError));
  }
}

void Win32Form::clicked(Child& child) {
  if (auto* const* button = std::get_if<ui::CommandButton*>(&child.model)) {
    ui::CommandButton* model = *button;
    dispatch([model] { model->click(); });
  } else if (auto* const* check = std::get_if<ui::CheckBox*>(&child.model)) {
    ui::CheckBox* model = *check;
    dispatch([model] { model->userClick(); });
  }
}

void Win32Form::press(Child& child) {
  if (!IsWindowEnabled(child.hwnd) || !IsWindowVisible(child.hwnd)) return;
  if (child.layout->kind == ui::ControlKind::CheckBox) focusControl(child);
  clicked(child);
}

bool Win32Form::canFocus(const Child& child) const {
  if (!child.layout->tabStop || !IsWindowVisible(child.hwnd)) return false;
  for (HWND w = child.hwnd; w && w != hwnd_; w = GetParent(w))
    if (!IsWindowEnabled(w)) return false;
  return true;
}

void Win32Form::focusControl(Child& child, bool selectText) {
  SetFocus(child.hwnd);
  if (selectText && child.layout->kind == ui::ControlKind::TextBox)
    SendMessageW(child.hwnd, EM_SETSEL, 0, -1);
}

Win32Form::Child* Win32Form::firstFocusable() {
  for (Child* child : tabOrder_)
    if (canFocus(*child)) return child;
  return nullptr;
}

void Win32Form::focusNext(HWND from, bool backward) {
  const int count = static_cast<int>(tabOrder_.size());
  if (count == 0) return;
  int at = backward ? count : -1;
  for (int i = 0; i < count; ++i)
    if (from && (tabOrder_[i]->hwnd == from || IsChild(tabOrder_[i]->hwnd, from))) at = i;
  for (int step = 1; step <= count; ++step) {
    const int i = ((at + (backward ? -step : step)) % count + count) % count;
    if (tabOrder_[i]->hwnd != from && canFocus(*tabOrder_[i])) {
      focusControl(*tabOrder_[i], true);
      return;
    }
  }
}

Win32Form::Child* Win32Form::mnemonicTarget(wchar_t key) {
  const wchar_t lower = static_cast<wchar_t>(std::towlower(key));
  for (auto& child : children_)
    if (child->accessKey != 0 && child->accessKey == lower && IsWindowVisible(child->hwnd))
      return child.get();
  return nullptr;
}

Win32Form::Child* Win32Form::defaultButton(bool cancel) {
  for (auto& child : children_)
    if (cancel ? child->layout->cancelButton : child->layout->defaultButton) return child.get();
  return nullptr;
}

bool Win32Form::preTranslate(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  Win32Form* form = owning(msg.hwnd);
  return form && form->handleKey(msg);
}

void Win32Form::showKeyboardCues() {
  SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

bool Win32Form::handleKey(const MSG& msg) {
  if (msg.message == WM_SYSKEYDOWN || (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB))
    showKeyboardCues();
  Child* focused = find(GetFocus());
  const bool onButton = focused && (focused->layout->kind == ui::ControlKind::CommandButton ||
                                    focused->layout->kind == ui::ControlKind::CheckBox);
  switch (msg.message) {
    case WM_KEYDOWN:
      if (msg.wParam == VK_TAB && !keyDown(VK_CONTROL) && !keyDown(VK_MENU)) {
        focusNext(GetFocus(), keyDown(VK_SHIFT));
        return true;
      }
      if (msg.wParam == VK_RETURN) {
        Child* target = focused && focused->layout->kind == ui::ControlKind::CommandButton
                            ? focused
                            : defaultButton(false);
        if (!target) return false;
        press(*target);
        return true;
      }
      if (msg.wParam == VK_ESCAPE) {
        Child* target = defaultButton(true);
        if (!target) return false;
        press(*target);
        return true;
      }
      return false;
    case WM_SYSCHAR:
    case WM_CHAR: {
      // Alt and the access key press a control; so does the key alone while the focus is on
      // a button.
      if (msg.message == WM_CHAR && !onButton) return false;
      Child* target = mnemonicTarget(static_cast<wchar_t>(msg.wParam));
      if (!target) return false;
      press(*target);
      return true;
    }
    default:
      return false;
  }
}

int Win32Form::runMessageLoop() {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (preTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK Win32Form::formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    for (auto& child : self->children_) child->hwnd = nullptr;
    const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    // Last: the callback may destroy this object.
    const std::function<void()> destroyed = std::move(self->onDestroyed);
    self->onDestroyed = nullptr;
    if (destroyed) destroyed();
    return result;
  }
  try {
    return self->handle(hwnd, message, wParam, lParam);
  } catch (const std::exception& e) {
    ui::reportFailure(self->failures_, ui::asRuntimeError(e));
    return 0;
  }
}

LRESULT CALLBACK Win32Form::panelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form || message == WM_NCDESTROY) return DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return form->handlePanel(hwnd, message, wParam, lParam);
  } catch (const std::exception& e) {
    ui::reportFailure(form->failures_, ui::asRuntimeError(e));
    return 0;
  }
}

LRESULT Win32Form::handlePanel(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return handle(panel, message, wParam, lParam);
    case WM_ERASEBKGND: {
      const Child* child = find(panel);
      RECT client;
      GetClientRect(panel, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client,
               brushFor(child ? child->layout->background : ui::Colour::ButtonFace));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(panel, &paint);
      const Child* child = find(panel);
      if (child && child->icon) {
        RECT client;
        GetClientRect(panel, &client);
        const int size = MulDiv(32, static_cast<int>(dpi_), 96);
        DrawIconEx(dc, (client.right - size) / 2, (client.bottom - size) / 2, child->icon.get(),
                   size, size, 0, nullptr, DI_NORMAL);
      }
      EndPaint(panel, &paint);
      return 0;
    }
    default:
      return DefWindowProcW(panel, message, wParam, lParam);
  }
}

LRESULT Win32Form::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
        if (Child* child = find(reinterpret_cast<HWND>(lParam))) clicked(*child);
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (HBRUSH brush = colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_PAINT: {
      if (hwnd != hwnd_) break;
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(hwnd, &paint);
      paintLines(dc);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_DPICHANGED:
      applyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else if (!HIWORD(wParam)) {
        Child* target = find(lastFocus_);
        if (!target || !canFocus(*target)) target = firstFocusable();
        if (target) focusControl(*target);
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (Child* target = firstFocusable()) focusControl(*target);
      return 0;
    case WM_CLOSE:
      if (onCloseRequest) {
        dispatch(onCloseRequest);
      } else {
        DestroyWindow(hwnd);
      }
      return 0;
    case WM_DESTROY:
      if (quitOnDestroy) PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace vcit::platform::win32
