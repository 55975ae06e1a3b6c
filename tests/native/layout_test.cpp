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
#include "ui/check_box.h"
#include "ui/command_button.h"
#include "ui/control_array.h"

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

bool overlap(const ui::TwipsRect& a, const ui::TwipsRect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

bool inside(const ui::TwipsRect& r, int width, int height) {
  return r.left >= 0 && r.top >= 0 && r.left + r.width <= width && r.top + r.height <= height;
}

// The rules the window's design keeps, rather than its numbers: the right-hand column of
// buttons, with the Apply bar and the hidden file list in its gap, and everything on the window.
TEST(LauncherLayout, TheButtonColumnHoldsTheBarAndTheHiddenFileListAndNothingOverlaps) {
  const ui::FormLayout& form = launcher::layout();
  EXPECT_EQ(form.caption, "VC:IT Mod Launcher");
  EXPECT_EQ(form.frame, ui::Frame::Sizable);
  EXPECT_TRUE(form.minButton && form.maxButton);
  EXPECT_FALSE(form.screenPosition) << "the system places the window";

  const auto& apply = get(form, "cmdApply");
  std::vector<const ui::ControlLayout*> column;
  for (const auto& c : form.controls)
    if (c.parentId == 0 && c.name != "Picture1") column.push_back(&c);
  ASSERT_EQ(column.size(), 6u) << "four buttons, the bar and the file list";
  for (const auto* c : column) {
    EXPECT_EQ(c->rect.left, apply.rect.left) << c->name;
    EXPECT_EQ(c->rect.width, apply.rect.width) << c->name;
    EXPECT_TRUE(inside(c->rect, form.clientWidth, form.clientHeight)) << c->name;
    EXPECT_FALSE(overlap(c->rect, get(form, "Picture1").rect)) << c->name;
    for (const auto* other : column) {
      if (other != c && c->visible && other->visible) {
        EXPECT_FALSE(overlap(c->rect, other->rect)) << c->name << " and " << other->name;
      }
    }
  }
  const auto& exit = get(form, "cmdExit");
  const auto& bar = get(form, "prgApply");
  EXPECT_GE(bar.rect.top, exit.rect.top + exit.rect.height) << "the bar lies below Exit";
  EXPECT_LE(bar.rect.top + bar.rect.height, get(form, "cmdAbout").rect.top);
  EXPECT_FALSE(bar.visible) << "shown only while Apply copies";
  EXPECT_FALSE(get(form, "filList").visible);
  EXPECT_EQ(get(form, "cmdExit").caption, "E&xit");
}

TEST(LauncherLayout, SixteenRowsOfReadOnlyNameAndCheckBox240TwipsApartInTheirPanel) {
  const ui::FormLayout& form = launcher::layout();
  EXPECT_EQ(form.find("txtPk3", 16), nullptr);
  const auto& list = get(form, "Picture1");
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    const auto& name = get(form, "txtPk3", i);
    const auto& panel = get(form, "Picture2", i);
    const auto& mark = get(form, "chkActive", i);
    EXPECT_EQ(name.rect.top, get(form, "txtPk3", 0).rect.top + 240 * i);
    EXPECT_EQ(panel.rect.top, name.rect.top);
    EXPECT_GE(panel.rect.left + 15, name.rect.left + name.rect.width) << "beside the name";
    EXPECT_TRUE(inside(name.rect, list.rect.width, list.rect.height));
    EXPECT_TRUE(inside(mark.rect, panel.rect.width, panel.rect.height));
    EXPECT_TRUE(name.readOnly);
    EXPECT_EQ(name.parentId, launcher::ids::kListPanel);
    EXPECT_EQ(panel.parentId, launcher::ids::kListPanel);
    EXPECT_EQ(mark.parentId, panel.id);
    EXPECT_EQ(mark.caption, "");
    EXPECT_EQ(mark.background, ui::Colour::WindowBackground);
    EXPECT_EQ(name.id, launcher::ids::kNameBase + i);
    EXPECT_EQ(mark.id, launcher::ids::kMarkBase + i);
    if (i > 0) {
      EXPECT_GT(name.zOrder, get(form, "txtPk3", i - 1).zOrder) << "a later row lies on top";
      EXPECT_GT(panel.zOrder, get(form, "Picture2", i - 1).zOrder);
    }
  }
}

// Every control but the Apply bar is in the ring of tab stops once, in index order; the rows are
// visited row by row, each name before its mark; About is last; what never takes the focus is no
// tab stop.
TEST(LauncherLayout, TheTabOrderIsOneRingThroughEveryRowInTurn) {
  const ui::FormLayout& form = launcher::layout();
  const auto order = form.tabOrder();
  ASSERT_EQ(order.size(), form.controls.size() - 1) << "all but the Apply bar";
  std::set<const ui::ControlLayout*> seen;
  int lastRow = -1;
  for (std::size_t i = 0; i < order.size(); ++i) {
    const ui::ControlLayout& c = *order[i];
    EXPECT_TRUE(seen.insert(&c).second) << label(c);
    EXPECT_EQ(c.tabIndex, static_cast<int>(i)) << label(c);
    EXPECT_EQ(c.tabStop, c.kind != ui::ControlKind::Panel && c.kind != ui::ControlKind::ProgressBar)
        << label(c);
    if (c.name == "txtPk3") {
      EXPECT_EQ(c.index, lastRow + 1) << "rows in turn";
      lastRow = c.index;
    }
    if (c.name == "chkActive") {
      EXPECT_EQ(c.index, lastRow) << "a mark after its own name";
    }
  }
  EXPECT_EQ(lastRow, 15);
  EXPECT_EQ(order.back()->name, "cmdAbout");
}

// A window's logic for the message map: what each handler was given.
struct Clicks : ui::FormLogic {
  ui::CommandButton cmdA;
  ui::ControlArray<ui::CheckBox, 2> chkRow;
  std::vector<int> got;
  void cmdA_Click() { got.push_back(-1); }
  void chkRow_Click(std::int16_t index) { got.push_back(index); }
};

TEST(FormLayout, DeclarationGivesTheTabOrderAndTheClickOfAControlReachesItsHandler) {
  ui::FormLayout form;
  form.add(ui::commandButton("cmdA", 1, {}, "A"), ui::model<&Clicks::cmdA>, &Clicks::cmdA_Click);
  ui::ControlLayout bar;
  bar.kind = ui::ControlKind::ProgressBar;
  form.add(bar);
  ui::ControlLayout row;
  row.name = "chkRow";
  row.index = 1;
  row.kind = ui::ControlKind::CheckBox;
  form.add(row, ui::model<&Clicks::chkRow>, &Clicks::chkRow_Click);
  EXPECT_EQ(form.controls[0].tabIndex, 0);
  EXPECT_EQ(form.controls[1].tabIndex, -1) << "a progress bar has no place in the tab order";
  EXPECT_EQ(form.controls[2].tabIndex, 1);

  Clicks logic;
  ui::connect(logic, form);
  EXPECT_EQ(std::get<ui::CheckBox*>(form.controls[2].model(logic, 1)), &logic.chkRow(1));
  logic.cmdA.click();
  logic.chkRow(1).userClick();
  logic.chkRow(0).userClick();  // not in the layout: connected to nothing
  logic.cmdA.setEnabled(false);
  logic.cmdA.click();
  ui::raiseClick(logic, form.controls[2]);
  EXPECT_EQ(logic.got, (std::vector<int>{-1, 1, 1}));
  EXPECT_EQ(logic.chkRow(1).value(), ui::CheckBox::kChecked);
}

TEST(LauncherLayout, IdentifiersAreUniqueAndEveryModelControlIsBound) {
  std::set<int> ids;
  for (const auto& c : launcher::layout().controls) EXPECT_TRUE(ids.insert(c.id).second) << c.id;

  platform::FakePlatform fake;
  frmLauncher form(fake.platform);
  auto boundTo = [&](int id) -> ui::Model {
    const ui::ControlLayout* c = launcher::layout().findId(id);
    if (!c || !c->model) throw std::runtime_error("not bound");
    return c->model(form, c->index);
  };
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(std::get<ui::TextBox*>(boundTo(launcher::ids::kNameBase + i)), &form.txtPk3(i));
    EXPECT_EQ(std::get<ui::CheckBox*>(boundTo(launcher::ids::kMarkBase + i)), &form.chkActive(i));
  }
  EXPECT_EQ(std::get<ui::CommandButton*>(boundTo(launcher::ids::kApply)), &form.cmdApply);
  EXPECT_EQ(std::get<ui::CommandButton*>(boundTo(launcher::ids::kLaunch)), &form.cmdLaunch);
  EXPECT_EQ(std::get<ui::CommandButton*>(boundTo(launcher::ids::kExit)), &form.cmdExit);
  EXPECT_EQ(std::get<ui::CommandButton*>(boundTo(launcher::ids::kAbout)), &form.cmdAbout);
}

TEST(ScreenReaderNames, ARowsMarkIsNamedByItsPackageOrElseByTheRowAndButtonsByTheirCaption) {
  platform::FakePlatform fake;
  frmLauncher form(fake.platform);
  auto described = [&](int id) { return ui::describe(*launcher::layout().findId(id), &form); };
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
