// The launcher and About windows as designed: the layout data the toolkit builds them from.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <variant>
#include <vector>

#include "about/about.h"
#include "about/about_ids.h"
#include "about/about_layout.h"
#include "core/runtime_error.h"
#include "launcher/control_ids.h"
#include "launcher/launcher.h"
#include "launcher/launcher_layout.h"
#include "platform/fake/fake_platform.h"
#include "ui/accessibility.h"

namespace vcit {
namespace {

std::string label(const ui::ControlLayout& c) {
  return c.index < 0 ? c.name : c.name + "(" + std::to_string(c.index) + ")";
}

const ui::ControlLayout& get(const ui::FormLayout& form, const std::string& name, int index = -1) {
  const ui::ControlLayout* c = form.find(name, index);
  if (!c) throw std::runtime_error("no control " + name);
  return *c;
}

TEST(LauncherLayout, WindowButtonsAndFileListAsDesigned) {
  const ui::FormLayout& form = launcher::layout();
  EXPECT_EQ(form.caption, "VC:IT Mod Launcher");
  EXPECT_EQ(form.clientWidth, 5160);
  EXPECT_EQ(form.clientHeight, 4440);
  EXPECT_EQ(form.frame, ui::Frame::Sizable);
  EXPECT_TRUE(form.minButton && form.maxButton);
  EXPECT_FALSE(form.screenPosition) << "the system places the window";

  struct Expected {
    const char* name;
    ui::TwipsRect rect;
    const char* caption;
  };
  for (const Expected& e : {Expected{"cmdApply", {3720, 240, 1215, 375}, "&Apply"},
                            Expected{"cmdLaunch", {3720, 840, 1215, 375}, "&Launch VC"},
                            Expected{"cmdExit", {3720, 1440, 1215, 375}, "E&xit"},
                            Expected{"cmdAbout", {3720, 3840, 1215, 255}, "About..."}}) {
    const auto& c = get(form, e.name);
    EXPECT_EQ(c.rect, e.rect) << e.name;
    EXPECT_EQ(c.caption, e.caption) << e.name;
    EXPECT_EQ(c.kind, ui::ControlKind::CommandButton) << e.name;
    EXPECT_EQ(c.parentId, 0) << e.name;
  }
  const auto& files = get(form, "filList");
  EXPECT_EQ(files.rect, (ui::TwipsRect{3720, 2640, 1215, 1065}));
  EXPECT_FALSE(files.visible);
  EXPECT_EQ(get(form, "Picture1").rect, (ui::TwipsRect{240, 120, 3255, 4095}));
}

TEST(LauncherLayout, SixteenRowsOfReadOnlyNameAndCheckBoxInItsPanel) {
  const ui::FormLayout& form = launcher::layout();
  EXPECT_EQ(form.find("txtPk3", 16), nullptr);
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    const auto& name = get(form, "txtPk3", i);
    const auto& panel = get(form, "Picture2", i);
    const auto& mark = get(form, "chkActive", i);
    EXPECT_EQ(name.rect, (ui::TwipsRect{0, 240 * i, 1935, 285}));
    EXPECT_EQ(panel.rect, (ui::TwipsRect{1920, 240 * i, 975, 285}));
    EXPECT_EQ(mark.rect, (ui::TwipsRect{360, 0, 255, 195}));
    EXPECT_TRUE(name.readOnly);
    EXPECT_EQ(name.parentId, launcher::ids::kListPanel);
    EXPECT_EQ(panel.parentId, launcher::ids::kListPanel);
    EXPECT_EQ(mark.parentId, panel.id);
    EXPECT_EQ(mark.caption, "");
    EXPECT_EQ(panel.background, ui::Colour::WindowBackground);
    EXPECT_EQ(mark.background, ui::Colour::WindowBackground);
    EXPECT_EQ(mark.foreground, ui::Colour::WindowText);
    EXPECT_EQ(name.id, launcher::ids::kNameBase + i);
    EXPECT_EQ(mark.id, launcher::ids::kMarkBase + i);
  }
  // Row 15 ends inside the panel.
  EXPECT_LE(get(form, "txtPk3", 15).rect.top + 285, get(form, "Picture1").rect.height);
}

TEST(LauncherLayout, TabOrderRunsFromThePanelThroughTheRowsToAbout) {
  std::vector<std::string> expected = {"Picture1", "txtPk3(0)",   "cmdLaunch",   "cmdApply",
                                       "cmdExit",  "Picture2(0)", "chkActive(0)"};
  for (int i = 1; i < 16; ++i) {
    for (const char* name : {"txtPk3", "Picture2", "chkActive"})
      expected.push_back(std::string(name) + "(" + std::to_string(i) + ")");
  }
  expected.push_back("filList");
  expected.push_back("cmdAbout");

  std::vector<std::string> order;
  std::vector<int> indices;
  for (const auto* c : launcher::layout().tabOrder()) {
    order.push_back(label(*c));
    indices.push_back(c->tabIndex);
  }
  EXPECT_EQ(order, expected);
  for (int i = 0; i < static_cast<int>(indices.size()); ++i) EXPECT_EQ(indices[i], i);

  // The panels and the progress bar never take the focus; the buttons, names and marks do.
  for (const auto& c : launcher::layout().controls)
    EXPECT_EQ(c.tabStop, c.kind != ui::ControlKind::Panel && c.kind != ui::ControlKind::ProgressBar)
        << label(c);
}

TEST(FormLayout, ATabOrderListGivesIndicesInItsOrderAndRejectsAnUnknownControl) {
  ui::FormLayout form;
  form.controls.push_back(ui::commandButton("cmdA", 1, {}, "A"));
  form.controls.push_back(ui::commandButton("cmdB", 2, {}, "B"));
  ui::ControlLayout row;
  row.name = "txtRow";
  row.index = 0;
  form.controls.push_back(row);
  ui::setTabOrder(form, {{"txtRow", 0}, {"cmdB"}, {"cmdA"}});
  std::vector<std::string> order;
  for (const auto* c : form.tabOrder()) order.push_back(label(*c));
  EXPECT_EQ(order, (std::vector<std::string>{"txtRow(0)", "cmdB", "cmdA"}));

  try {
    ui::setTabOrder(form, {{"txtRow", 1}});
    ADD_FAILURE() << "an element the layout does not have";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), err::kInternalError);
  }
}

TEST(LauncherLayout, IdentifiersAreUniqueAndEveryModelControlIsBound) {
  std::set<int> ids;
  for (const auto& c : launcher::layout().controls) EXPECT_TRUE(ids.insert(c.id).second) << c.id;

  platform::FakePlatform fake;
  frmLauncher form(fake.platform);
  const auto bindings = launcher::bindings(form);
  auto boundTo = [&](int id) -> const ui::Binding* {
    for (const auto& b : bindings)
      if (b.id == id) return &b;
    return nullptr;
  };
  for (int i = 0; i < 16; ++i) {
    const auto* name = boundTo(launcher::ids::kNameBase + i);
    const auto* mark = boundTo(launcher::ids::kMarkBase + i);
    ASSERT_TRUE(name && mark) << i;
    EXPECT_EQ(std::get<ui::TextBox*>(name->control), &form.txtPk3(i));
    EXPECT_EQ(std::get<ui::CheckBox*>(mark->control), &form.chkActive(i));
  }
  EXPECT_EQ(std::get<ui::CommandButton*>(boundTo(launcher::ids::kApply)->control), &form.cmdApply);
  EXPECT_EQ(std::get<ui::CommandButton*>(boundTo(launcher::ids::kLaunch)->control),
            &form.cmdLaunch);
  EXPECT_EQ(std::get<ui::CommandButton*>(boundTo(launcher::ids::kExit)->control), &form.cmdExit);
  EXPECT_EQ(std::get<ui::CommandButton*>(boundTo(launcher::ids::kAbout)->control), &form.cmdAbout);
  for (const auto& b : bindings) EXPECT_NE(launcher::layout().findId(b.id), nullptr) << b.id;
}

TEST(ScreenReaderNames, ARowsMarkIsNamedByItsPackageOrElseByTheRowAndButtonsByTheirCaption) {
  platform::FakePlatform fake;
  frmLauncher form(fake.platform);
  const auto bindings = launcher::bindings(form);
  auto described = [&](int id) {
    for (const auto& b : bindings)
      if (b.id == id) return ui::describe(*launcher::layout().findId(id), &b);
    throw std::runtime_error("not bound");
  };
  form.txtPk3(3).setText("delta.pk3");
  form.chkActive(3).setValue(ui::CheckBox::kGrayed);
  const ui::AccessibleDescription mark = described(launcher::ids::kMarkBase + 3);
  EXPECT_EQ(mark.name, "delta.pk3");
  EXPECT_TRUE(mark.mixed && !mark.checked);
  EXPECT_EQ(described(launcher::ids::kMarkBase + 15).name, "Row 16");
  const ui::AccessibleDescription name = described(launcher::ids::kNameBase + 3);
  EXPECT_EQ(name.name, "Package 4");
  EXPECT_EQ(name.value, "delta.pk3");

  const ui::AccessibleDescription exit = described(launcher::ids::kExit);
  EXPECT_EQ(exit.name, "Exit");
  EXPECT_EQ(exit.shortcut, "Alt+X");
  EXPECT_EQ(described(launcher::ids::kAbout).shortcut, "");
  // "&&" is a plain ampersand, and a mark at the very end marks nothing.
  EXPECT_EQ(ui::withoutAccessKeyMark("Save && &quit&"), "Save & quit&");
  EXPECT_EQ(ui::accessKeyShortcut("Save && &quit&"), "Alt+Q");
  EXPECT_EQ(ui::accessKeyShortcut("R&&D&"), "");
}

TEST(AboutLayout, WindowControlsAndSeparatorAsDesigned) {
  const ui::FormLayout& form = about::layout();
  EXPECT_EQ(form.clientWidth, 5730);
  EXPECT_EQ(form.clientHeight, 3555);
  EXPECT_EQ(form.frame, ui::Frame::FixedDialog);
  EXPECT_FALSE(form.minButton || form.maxButton);
  ASSERT_TRUE(form.screenPosition);
  EXPECT_EQ(form.screenPosition->left, 2340);
  EXPECT_EQ(form.screenPosition->top, 1935);

  EXPECT_EQ(get(form, "picIcon").rect, (ui::TwipsRect{240, 240, 540, 540}));
  EXPECT_NE(get(form, "picIcon").iconResource, 0);
  EXPECT_EQ(get(form, "lblTitle").rect, (ui::TwipsRect{1050, 240, 3885, 480}));
  EXPECT_EQ(get(form, "lblVersion").rect, (ui::TwipsRect{1050, 780, 3885, 225}));
  EXPECT_EQ(get(form, "lblDescription").rect, (ui::TwipsRect{1050, 1125, 3885, 1170}));
  EXPECT_EQ(get(form, "lblDisclaimer").rect, (ui::TwipsRect{255, 2625, 3870, 825}));
  EXPECT_EQ(get(form, "cmdOK").rect, (ui::TwipsRect{4245, 2625, 1260, 345}));
  EXPECT_EQ(get(form, "cmdSysInfo").rect, (ui::TwipsRect{4260, 3075, 1245, 345}));
  EXPECT_EQ(get(form, "cmdSysInfo").caption, "&System Info...");
  EXPECT_EQ(get(form, "lblDescription").caption, about::kDescription);
  EXPECT_TRUE(get(form, "lblDescription").wordWrap);
  for (const char* black : {"lblTitle", "lblDescription", "lblDisclaimer"})
    EXPECT_EQ(get(form, black).foreground, ui::Colour::Black) << black;
  EXPECT_EQ(get(form, "lblVersion").foreground, ui::Colour::Default);

  const auto& ok = get(form, "cmdOK");
  EXPECT_TRUE(ok.defaultButton && ok.cancelButton);
  EXPECT_EQ(form.tabOrder().front()->name, "cmdOK") << "OK has the focus when the window opens";

  ASSERT_EQ(form.lines.size(), 2u);
  for (const auto& line : form.lines) {
    if (line.index == 1) {
      EXPECT_EQ(line.colour, ui::Colour::Grey);
      EXPECT_EQ(line.widthPixels, 1);
      EXPECT_EQ(std::vector<int>({line.x1, line.y1, line.x2, line.y2}),
                std::vector<int>({90, 2445, 5654, 2445}));
    } else {
      EXPECT_EQ(line.colour, ui::Colour::White);
      EXPECT_EQ(line.widthPixels, 2);
      EXPECT_EQ(std::vector<int>({line.x1, line.y1, line.x2, line.y2}),
                std::vector<int>({105, 2460, 5654, 2460}));
    }
  }
}

}  // namespace
}  // namespace vcit
