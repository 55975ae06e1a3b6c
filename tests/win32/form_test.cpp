// The window toolkit under Wine, in this process: a small layout built into real windows,
// started with a logic whose model controls and handlers the layout names, the keyboard
// interface, a DPI change, a change of colour scheme, and errors escaping an event handler.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "platform/fake/call_log.h"
#include "platform/fake/fake_desktop.h"
#include "support/e2e_windows.h"
#include "ui/check_box.h"
#include "ui/command_button.h"
#include "ui/text_box.h"
#include "ui/win32/form.h"

namespace vcit::ui::win32 {
namespace {

enum : int { kGo = 10, kStop = 11, kPanel = 20, kName = 21, kMark = 22, kList = 30, kNote = 40 };

// The logic of the test window: its handlers do what the test asks, or else count the clicks.
struct TestLogic : ui::FormLogic {
  ui::CommandButton go, stop;
  ui::TextBox name;
  ui::CheckBox mark;
  int goClicks = 0, stopClicks = 0, markClicks = 0;
  std::function<void()> goDoes, stopDoes;
  void go_Click() { goDoes ? goDoes() : void(++goClicks); }
  void stop_Click() { stopDoes ? stopDoes() : void(++stopClicks); }
  void mark_Click() { ++markClicks; }
};

ui::FormLayout testLayout() {
  ui::FormLayout form;
  form.caption = "Toolkit test";
  form.clientWidth = 3000;
  form.clientHeight = 2010;
  auto add = [&](ui::ControlKind kind, int id, int parent, ui::TwipsRect rect, int tabIndex,
                 bool tabStop, const char* caption) -> ui::ControlLayout& {
    ui::ControlLayout c;
    c.name = "c" + std::to_string(id);
    c.kind = kind;
    c.id = id;
    c.parentId = parent;
    c.rect = rect;
    c.tabIndex = tabIndex;
    c.tabStop = tabStop;
    c.caption = caption;
    form.controls.push_back(c);
    return form.controls.back();
  };
  auto& stop =
      add(ui::ControlKind::CommandButton, kStop, 0, {1800, 600, 900, 300}, 4, true, "&Stop");
  stop.model = ui::model<&TestLogic::stop>;
  stop.onClick = ui::on(&TestLogic::stop_Click);
  auto& go = add(ui::ControlKind::CommandButton, kGo, 0, {1800, 150, 900, 300}, 0, true, "&Go");
  go.defaultButton = true;
  go.model = ui::model<&TestLogic::go>;
  go.onClick = ui::on(&TestLogic::go_Click);
  add(ui::ControlKind::Panel, kPanel, 0, {150, 150, 1500, 1500}, 1, false, "");
  auto& name = add(ui::ControlKind::TextBox, kName, kPanel, {0, 0, 1200, 285}, 2, true, "");
  name.readOnly = true;
  name.model = ui::model<&TestLogic::name>;
  auto& mark = add(ui::ControlKind::CheckBox, kMark, kPanel, {0, 450, 255, 195}, 3, true, "");
  mark.model = ui::model<&TestLogic::mark>;
  mark.onClick = ui::on(&TestLogic::mark_Click);
  add(ui::ControlKind::FileList, kList, 0, {1800, 1050, 900, 600}, 5, true, "").visible = false;
  add(ui::ControlKind::Label, kNote, 0, {150, 1700, 2700, 240}, -1, false, "Note").foreground =
      ui::Colour::Black;
  return form;
}

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (Form::preTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The face and its text in other colours while it lives (for all of the prefix's server).
struct FaceColours {
  const int elements[2] = {COLOR_BTNFACE, COLOR_BTNTEXT};
  const COLORREF saved[2] = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)};
  FaceColours(COLORREF face, COLORREF text) {
    const COLORREF colours[2] = {face, text};
    SetSysColors(2, elements, colours);
  }
  ~FaceColours() { SetSysColors(2, elements, saved); }
};

std::string textOf(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

class FormTest : public ::testing::Test {
 protected:
  FormTest() {
    SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    ui::connect(logic, layout);
    form = std::make_unique<Form>(layout, messages);
    form->start(logic, nullptr, SW_SHOWNORMAL);
    pump();
  }
  // A keyboard message as the message loop takes it from the queue.
  bool key(UINT message, WPARAM wParam) {
    MSG msg{};
    msg.hwnd = GetFocus() ? GetFocus() : form->hwnd();
    msg.message = message;
    msg.wParam = wParam;
    return Form::preTranslate(msg);
  }

  ui::FormLayout layout = testLayout();
  platform::CallLog log;
  platform::FakeMessageBoxes messages{log};
  TestLogic logic;
  ui::CommandButton& go = logic.go;
  ui::CommandButton& stop = logic.stop;
  ui::TextBox& name = logic.name;
  ui::CheckBox& mark = logic.mark;
  int& goClicks = logic.goClicks;
  int& stopClicks = logic.stopClicks;
  int& markClicks = logic.markClicks;
  std::unique_ptr<Form> form;
};

TEST_F(FormTest, ControlsStandAtTheirTwipsInPixelsOfTheWindowsDpi) {
  ASSERT_EQ(form->dpi(), 96u);
  RECT client;
  GetClientRect(form->hwnd(), &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 134);
  const RECT goRect = e2e::rectInParent(form->child(kGo));
  EXPECT_EQ(goRect.left, 120);
  EXPECT_EQ(goRect.top, 10);
  EXPECT_EQ(goRect.right - goRect.left, 60);
  const RECT markRect = e2e::rectInParent(form->child(kMark));
  EXPECT_EQ(GetParent(form->child(kMark)), form->child(kPanel));
  EXPECT_EQ(markRect.top, 30);
  EXPECT_EQ(markRect.bottom - markRect.top, 13);
  EXPECT_FALSE(IsWindowVisible(form->child(kList)));
  EXPECT_EQ(twipsToPixels(1935, 96), 129);
  EXPECT_EQ(twipsToPixels(1935, 144), 194) << "rounded";
}

TEST_F(FormTest, ADpiChangeLaysEverythingOutAgainWithFontsToMatch) {
  RECT suggested{40, 50, 400, 400};
  SendMessageW(form->hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form->dpi(), 144u);
  RECT client;
  GetClientRect(form->hwnd(), &client);
  EXPECT_EQ(client.right, 300) << "the client area keeps its twips";
  EXPECT_EQ(client.bottom, 201);
  RECT window;
  GetWindowRect(form->hwnd(), &window);
  EXPECT_EQ(window.left, 40);
  EXPECT_EQ(window.top, 50);
  const RECT goRect = e2e::rectInParent(form->child(kGo));
  EXPECT_EQ(goRect.left, 180);
  EXPECT_EQ(goRect.right - goRect.left, 90);
  const RECT markRect = e2e::rectInParent(form->child(kMark));
  EXPECT_EQ(markRect.top, 45);

  const auto font = reinterpret_cast<HFONT>(SendMessageW(form->child(kName), WM_GETFONT, 0, 0));
  LOGFONTW logFont{};
  ASSERT_TRUE(GetObjectW(font, sizeof logFont, &logFont));
  EXPECT_EQ(logFont.lfHeight, -16) << "8 points at 144 DPI";
}

TEST_F(FormTest, FixedTextTakesTheSchemesTextColourWhereItWouldBeHardToReadAsTheSchemeChanges) {
  auto noteColour = [&] {
    const HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(form->hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(form->child(kNote)));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
  };
  ASSERT_GT(GetSysColor(COLOR_BTNFACE) & 0xFF, 128u) << "a light face";
  EXPECT_EQ(noteColour(), RGB(0, 0, 0)) << "as designed";
  {
    const FaceColours navy(RGB(0, 0, 64), RGB(255, 255, 0));
    pump();
    EXPECT_EQ(noteColour(), RGB(255, 255, 0)) << "black on navy";
  }
  pump();
  EXPECT_EQ(noteColour(), RGB(0, 0, 0)) << "as designed again";
}

TEST_F(FormTest, TheScreenFollowsTheModelAndClicksReachIt) {
  name.setText("maps.pk3");
  EXPECT_EQ(textOf(form->child(kName)), "maps.pk3");
  mark.setValue(ui::CheckBox::kGrayed);
  EXPECT_EQ(SendMessageW(form->child(kMark), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_EQ(markClicks, 1) << "setting the value raises Click";

  SendMessageW(form->child(kMark), BM_CLICK, 0, 0);
  EXPECT_EQ(mark.value(), ui::CheckBox::kUnchecked) << "a click clears a grayed box";
  EXPECT_EQ(SendMessageW(form->child(kMark), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(form->child(kMark), BM_CLICK, 0, 0);
  EXPECT_EQ(mark.value(), ui::CheckBox::kChecked);
  EXPECT_EQ(markClicks, 3);

  SendMessageW(form->child(kGo), BM_CLICK, 0, 0);
  EXPECT_EQ(goClicks, 1);
  go.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(form->child(kGo)));
  go.setEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(form->child(kGo)));
}

TEST_F(FormTest, AnErrorEscapingAHandlerIsReportedAndTheWindowCarriesOn) {
  logic.goDoes = [] { raise(err::kFileNotFound); };
  logic.stopDoes = [] { throw std::logic_error("not a run-time error"); };
  SendMessageW(form->child(kGo), BM_CLICK, 0, 0);
  SendMessageW(form->child(kStop), BM_CLICK, 0, 0);
  ASSERT_EQ(messages.shown().size(), 2u);
  EXPECT_EQ(messages.shown()[0].text, "53:" + describeError(err::kFileNotFound));
  EXPECT_EQ(messages.shown()[0].title, "RUZiza");
  EXPECT_EQ(messages.shown()[0].style, 0x10u) << "OK and the critical icon";
  EXPECT_EQ(messages.shown()[1].text, "51:" + describeError(err::kInternalError));
  EXPECT_TRUE(IsWindow(form->hwnd()));

  logic.goDoes = nullptr;
  SendMessageW(form->child(kGo), BM_CLICK, 0, 0);
  EXPECT_EQ(goClicks, 1);
}

TEST_F(FormTest, TabFollowsTheTabIndicesAcrossPanelsAndSkipsWhatCannotTakeFocus) {
  SetFocus(form->child(kGo));
  std::vector<int> visited;
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(key(WM_KEYDOWN, VK_TAB));
    visited.push_back(GetDlgCtrlID(GetFocus()));
  }
  // The panel takes no focus; the hidden list is passed over; then round again.
  EXPECT_EQ(visited, (std::vector<int>{kName, kMark, kStop, kGo}));

  stop.setEnabled(false);
  SetFocus(form->child(kMark));
  key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), kGo) << "a disabled button is passed over";

  // Disabling the focused button moves the focus on rather than losing it.
  stop.setEnabled(true);
  SetFocus(form->child(kStop));
  stop.setEnabled(false);
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), kGo);
}

TEST_F(FormTest, ShiftTabWalksTheTabOrderBackwards) {
  // Shift held down in this thread's keyboard state, and let go again whatever happens.
  struct ShiftDown {
    ShiftDown() { set(0x80); }
    ~ShiftDown() { set(0); }
    static void set(BYTE state) {
      BYTE keys[256] = {};
      GetKeyboardState(keys);
      keys[VK_SHIFT] = state;
      SetKeyboardState(keys);
    }
  } shift;
  SetFocus(form->child(kGo));
  std::vector<int> visited;
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(key(WM_KEYDOWN, VK_TAB));
    visited.push_back(GetDlgCtrlID(GetFocus()));
  }
  EXPECT_EQ(visited, (std::vector<int>{kStop, kMark, kName, kGo}));
}

TEST_F(FormTest, AccessKeysAndEnterPressButtons) {
  SetFocus(form->child(kName));
  EXPECT_TRUE(key(WM_SYSCHAR, 's'));
  EXPECT_EQ(stopClicks, 1);
  EXPECT_TRUE(key(WM_SYSCHAR, 'G'));
  EXPECT_EQ(goClicks, 1);
  EXPECT_FALSE(key(WM_SYSCHAR, 'q')) << "no control has it";
  EXPECT_FALSE(key(WM_CHAR, 's')) << "in a text box a letter is only a letter";

  stop.setEnabled(false);
  key(WM_SYSCHAR, 's');
  EXPECT_EQ(stopClicks, 1) << "a disabled button is not pressed";

  SetFocus(form->child(kName));
  EXPECT_TRUE(key(WM_KEYDOWN, VK_RETURN));
  EXPECT_EQ(goClicks, 2) << "Enter presses the default button";
  EXPECT_FALSE(key(WM_KEYDOWN, VK_ESCAPE)) << "no cancel button here";
}

TEST_F(FormTest, CloseAsksOnceTheEventIsOverAndTellsWhenTheWindowIsGone) {
  bool destroyed = false;
  form->onDestroyed = [&] {
    destroyed = true;
    form.reset();  // the owner may drop the form right there
  };
  logic.goDoes = [this] { form->close(); };
  SendMessageW(form->child(kGo), BM_CLICK, 0, 0);
  EXPECT_FALSE(destroyed) << "not inside the handler";
  pump();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(form, nullptr);
}

}  // namespace
}  // namespace vcit::ui::win32
