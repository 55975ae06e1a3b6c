#include "ui/win32/form.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "core/assertion.h"
#include "core/runtime_error.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/system_dpi.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/win32_events.h"
#include "ui/handlers.h"

namespace vcit::ui::win32 {

using platform::win32::widen;

namespace {

constexpr wchar_t kFormClass[] = L"VCITForm";

// A child window's messages: its accessible object, what its kind adds, its own procedure.
LRESULT childMessage(ChildWindow& child, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETOBJECT)
    if (const LRESULT object = child.accessible->getObject(wParam, lParam)) return object;
  if (message == WM_NCDESTROY) child.accessible->windowGone();
  const WindowSubclass& window = *child.subclass;
  if (child.adapter->message) return child.adapter->message(window, message, wParam, lParam);
  return window.callOwn(message, wParam, lParam);
}

}  // namespace

Form::Form(const FormLayout& layout, platform::MessageBoxes& failures)
    : layout_(layout), failures_(failures) {
  registerClasses();
  const bool sizable = layout.frame == Frame::Sizable;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN |
                      (sizable ? WS_THICKFRAME : 0) | (layout.minButton ? WS_MINIMIZEBOX : 0) |
                      (layout.maxButton ? WS_MAXIMIZEBOX : 0);
  const DWORD exStyle = WS_EX_CONTROLPARENT | (sizable ? 0 : WS_EX_DLGMODALFRAME);
  const SIZE frame = frameSize(layout, style, exStyle, platform::win32::systemDpi());
  CreateWindowExW(exStyle, kFormClass, widen(layout.caption).c_str(), style, CW_USEDEFAULT,
                  CW_USEDEFAULT, frame.cx, frame.cy, nullptr, nullptr, GetModuleHandleW(nullptr),
                  this);
  if (!hwnd_) throw RuntimeError(err::kInternalError, "The window could not be created");
  // Children made at their places, fonts set without a repaint: under Wine each move or
  // repaint of 56 children costs tens of milliseconds of start-up.
  dpi_ = validDpi(platform::win32::windowDpi(hwnd_));
  createChildren();
  tooltips_.create(hwnd_, children_, dpi_);
  dpiResources_.update(hwnd_, layout_, children_, dpi_);
  placeWindow(hwnd_, layout_, dpi_, /*atDesignedPosition=*/true);
}

Form::~Form() {
  for (const auto& child : children_)
    if (child->model) child->model->bindView({});
  if (captionModel_) captionModel_->bindView({});
  onDestroyed = nullptr;
  if (hwnd_) DestroyWindow(hwnd_);
}

void Form::registerClasses() {
  if (formClass_) return;
  // The common controls' window classes (the progress bar's, the tooltip's) are registered on
  // request.
  INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
  platform::win32::initCommonControls(commonControls);
  WNDCLASSEXW form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = windowProc;
  form.hInstance = GetModuleHandleW(nullptr);
  form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kFormClass;
  WNDCLASSEXW panel = form;
  panel.hbrBackground = nullptr;  // painted in the panel's own colour
  panel.lpszClassName = kPanelClass;
  RegisterClassExW(&panel);
  formClass_ = RegisterClassExW(&form);
}

void Form::createChildren() {
  // A new child window goes below its siblings, so each parent's children are created from the
  // top of their z-order down: by their layout's z-order, then in tab order. Parents first, by
  // their depth in the tree.
  auto depthOf = [this](const ControlLayout* c) {
    int depth = 0;
    for (; c && c->parentId != 0; c = layout_.findId(c->parentId)) ++depth;
    return depth;
  };
  std::vector<const ControlLayout*> order = layout_.tabOrder();
  for (const auto& c : layout_.controls)
    if (c.tabIndex < 0) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(), [&](const ControlLayout* a, const ControlLayout* b) {
    return std::pair(depthOf(a), -a->zOrder) < std::pair(depthOf(b), -b->zOrder);
  });
  for (const ControlLayout* c : order) createChild(*c);
  keyboard_.setTabOrder(layout_);
}

void Form::createChild(const ControlLayout& c) {
  const ChildWindow* parent = c.parentId != 0 ? children_.findById(c.parentId) : nullptr;
  VCIT_ASSERT(parent || c.parentId == 0);  // parents are made first

  const ControlAdapter& adapter = adapterFor(c.kind);
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | adapter.style | (c.visible ? WS_VISIBLE : 0) |
                      (c.enabled ? 0 : WS_DISABLED) | (c.tabStop ? WS_TABSTOP | WS_GROUP : 0) |
                      (adapter.layoutStyle ? adapter.layoutStyle(c) : 0);
  const DWORD exStyle = adapter.exStyle | (c.border ? WS_EX_CLIENTEDGE : 0);

  auto child = std::make_unique<ChildWindow>();
  child->layout = &c;
  child->adapter = &adapter;
  const RECT at = childRect(c, dpi_);
  child->hwnd = CreateWindowExW(
      exStyle, adapter.windowClass, widen(c.caption).c_str(), style, at.left, at.top,
      at.right - at.left, at.bottom - at.top, parent ? parent->hwnd : hwnd_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), GetModuleHandleW(nullptr), this);
  if (!child->hwnd) throw RuntimeError(err::kInternalError, "A control could not be created");
  if (adapter.created) adapter.created(child->hwnd);
  child->accessible = std::make_unique<AccessibleWindow>(child->hwnd, c);
  ChildWindow& added = *children_.emplace_back(std::move(child));
  added.subclass = std::make_unique<WindowSubclass>(
      added.hwnd, [&added](UINT message, WPARAM wParam, LPARAM lParam) {
        return childMessage(added, message, wParam, lParam);
      });
}

HWND Form::child(int id) const {
  const ChildWindow* found = children_.findById(id);
  return found ? found->hwnd : nullptr;
}

void Form::start(FormLogic& logic, Handler formLoad, int showCommand) {
  if (formLoad) reportAndStop(failures_, [&] { (logic.*formLoad)(); });
  bind(logic);
  show(showCommand);
}

void Form::bind(FormLogic& logic) {
  logic_ = &logic;
  if (layout_.captionModel) {
    const Model caption = layout_.captionModel(logic, -1);
    VCIT_ASSERT(std::holds_alternative<Label*>(caption));
    captionModel_ = std::get<Label*>(caption);
    auto refresh = [this, model = captionModel_] {
      if (hwnd_) SetWindowTextW(hwnd_, widen(model->text()).c_str());
    };
    captionModel_->bindView(refresh);
    refresh();
  }
  for (const auto& child : children_) {
    child->accessible->bind(logic);
    if (!child->layout->model) continue;
    VCIT_ASSERT(child->adapter->bind);
    child->adapter->bind(*child, child->layout->model(logic, child->layout->index));
  }
}

void Form::show(int command) {
  if (!hwnd_) return;
  ShowWindow(hwnd_, shown_ ? SW_SHOW : command);
  shown_ = true;
  UpdateWindow(hwnd_);
}

void Form::bringToFront() {
  if (!hwnd_) return;
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  show();
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
}

void Form::applyDpi(unsigned dpi, const RECT* suggested) {
  dpi_ = validDpi(dpi);
  dpiResources_.update(hwnd_, layout_, children_, dpi_);
  tooltips_.setDpi(dpi_);
  if (suggested) {
    // Where the system puts the window, with the client area the layout gives.
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  }
  placeWindow(hwnd_, layout_, dpi_, suggested == nullptr);
  layoutChildren(children_, dpi_);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form::followScheme(UINT message, WPARAM wParam, LPARAM lParam) {
  const bool changed = palette_.followScheme();
  if (message == WM_SYSCOLORCHANGE) {
    // Common controls learn of new system colours only from their parent.
    for (const auto& child : children_)
      if (child->hwnd) SendMessageW(child->hwnd, message, wParam, lParam);
  } else if (!changed) {
    return;
  }
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT CALLBACK Form::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (!self->hwnd_) self->hwnd_ = hwnd;  // the form itself is made before its panels
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (hwnd != self->hwnd_) return DefWindowProcW(hwnd, message, wParam, lParam);
    self->hwnd_ = nullptr;
    for (const auto& child : self->children_) child->hwnd = nullptr;
    const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    // Last: the callback may destroy this object.
    if (const auto destroyed = std::exchange(self->onDestroyed, nullptr)) destroyed();
    return result;
  }
  // The one place where an error escaping a handler (or anything else the window does) ends:
  // the common failure report, and the window carries on.
  try {
    return self->handle(hwnd, message, wParam, lParam);
  } catch (...) {
    reportCaught(self->failures_);
    return 0;
  }
}

LRESULT Form::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (const ChildWindow* child = children_.find(reinterpret_cast<HWND>(lParam)))
        if (HBRUSH brush = palette_.controlColours(reinterpret_cast<HDC>(wParam), *child))
          return reinterpret_cast<LRESULT>(brush);
      return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_COMMAND:
      if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
        if (deferredWhileHeld(hwnd, message, wParam, lParam)) return 0;
        // The message map: the child's layout entry names its handler in the logic.
        ChildWindow* child = children_.find(reinterpret_cast<HWND>(lParam));
        if (child && logic_ && (!child->model || child->model->takeClick()))
          raiseClick(*logic_, *child->layout);
        tooltips_.refresh();  // a tooltip shown tells the marks as they are now
        return 0;
      }
      return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_NOTIFY:
      if (tooltips_.notified(*reinterpret_cast<const NMHDR*>(lParam), lParam, children_, logic_))
        return 0;
      return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
      break;
  }
  if (hwnd != hwnd_) {  // a panel: it paints itself; its children's messages are the form's
    if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
    palette_.paintPanel(hwnd, children_.find(hwnd), dpi_);
    return 0;
  }
  switch (message) {
    case WM_PAINT: {
      const platform::win32::PaintDC dc(hwnd);
      palette_.paintLines(dc.get(), layout_.lines, dpi_);
      return 0;
    }
    case WM_DPICHANGED:
      applyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SYSCOLORCHANGE:  // a new colour scheme, or high contrast turned on or off
    case WM_SETTINGCHANGE:
      followScheme(message, wParam, lParam);
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else if (!HIWORD(wParam)) {
        ChildWindow* target = children_.find(lastFocus_);
        if (!target || !keyboard_.canFocus(*target)) target = keyboard_.firstFocusable();
        if (target) DialogKeyboard::focus(*target);
        return 0;
      }
      break;
    case WM_NEXTDLGCTL:  // only as "the next or previous control"
      keyboard_.focusNext(GetFocus(), wParam != 0);
      return 0;
    case WM_SETFOCUS:
      if (ChildWindow* target = keyboard_.firstFocusable()) DialogKeyboard::focus(*target);
      return 0;
    case WM_CLOSE:
      if (!deferredWhileHeld(hwnd, message, wParam, lParam)) DestroyWindow(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
      // A shutdown or restart asks first: not while a long action (Apply) is half-done.
      if (handlersHeld_ > 0) return FALSE;
      break;
    case WM_DESTROY:
      if (quitOnDestroy) PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Form::holdHandlers(bool held) {
  handlersHeld_ = std::max(0, handlersHeld_ + (held ? 1 : -1));
}

bool Form::preTranslate(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd) return false;
  const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || GetClassWord(root, GCW_ATOM) != formClass_) return false;
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(root, GWLP_USERDATA));
  return form && form->keyboard_.handleKey(root, msg);
}

int Form::runMessageLoop() {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) platform::dispatchMessage(msg, &Form::preTranslate);
  return static_cast<int>(msg.wParam);
}

bool Form::deferredWhileHeld(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (handlersHeld_ == 0) return false;
  PostMessageW(hwnd, message, wParam, lParam);
  return true;
}

}  // namespace vcit::ui::win32
