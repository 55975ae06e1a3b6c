#include "launcher/launcher_layout.h"

#include <string>

#include "launcher/control_ids.h"
#include "launcher/launcher.h"
#include "meta/resource_ids.h"

namespace vcit::launcher {

namespace {

using ui::Colour;
using ui::ControlKind;
using ui::ControlLayout;

constexpr int kRowPitch = 240;
constexpr int kRowHeight = 285;

ui::FormLayout build() {
  ui::FormLayout form;
  form.name = "frmLauncher";
  form.caption = "VC:IT Mod Launcher";
  form.clientWidth = 5160;
  form.clientHeight = 4440;
  form.frame = ui::Frame::Sizable;
  form.minButton = true;
  form.maxButton = true;
  form.iconResource = VCIT_IDI_APP;

  form.controls.push_back(
      ui::commandButton("cmdApply", ids::kApply, {3720, 240, 1215, 375}, "&Apply"));
  form.controls.push_back(
      ui::commandButton("cmdLaunch", ids::kLaunch, {3720, 840, 1215, 375}, "&Launch VC"));
  form.controls.push_back(
      ui::commandButton("cmdExit", ids::kExit, {3720, 1440, 1215, 375}, "E&xit"));

  ControlLayout files;
  files.name = "filList";
  files.kind = ControlKind::FileList;
  files.id = ids::kFileList;
  files.rect = {3720, 2640, 1215, 1065};
  files.tabStop = true;  // it never shows, so Tab passes over it
  files.visible = false;
  files.accessibleName = "Package files";
  form.controls.push_back(files);

  // In the empty part of the column, below Exit; shown only while Apply copies.
  ControlLayout progress;
  progress.name = "prgApply";
  progress.kind = ControlKind::ProgressBar;
  progress.id = ids::kProgress;
  progress.rect = {3720, 2040, 1215, 255};
  progress.visible = false;
  progress.accessibleName = "Apply progress";
  form.controls.push_back(progress);

  form.controls.push_back(
      ui::commandButton("cmdAbout", ids::kAbout, {3720, 3840, 1215, 255}, "About..."));

  ControlLayout panel;
  panel.name = "Picture1";
  panel.kind = ControlKind::Panel;
  panel.id = ids::kListPanel;
  panel.rect = {240, 120, 3255, 4095};
  panel.border = true;
  panel.background = Colour::ButtonFace;
  panel.accessibleName = "Packages";
  form.controls.push_back(panel);

  // Each row is taller than the row pitch, so it overlaps the next: the later row lies on top,
  // which keeps every check box and the top of every name (the accents of capitals) whole, and
  // covers only the bottom edge of the row above.
  for (int i = 0; i < frmLauncher::kRows; ++i) {
    // A screen reader names a row's controls by the row (counted from 1); a row's check box
    // by its package once the row has one (bindings()).
    const std::string row = std::to_string(i + 1);
    ControlLayout name;
    name.name = "txtPk3";
    name.index = i;
    name.kind = ControlKind::TextBox;
    name.id = ids::kNameBase + i;
    name.parentId = ids::kListPanel;
    name.rect = {0, kRowPitch * i, 1935, kRowHeight};
    name.tabStop = true;
    name.zOrder = i;
    name.readOnly = true;
    name.border = true;
    name.background = Colour::WindowBackground;
    name.foreground = Colour::WindowText;
    name.accessibleName = "Package " + row;
    form.controls.push_back(name);

    ControlLayout markPanel;
    markPanel.name = "Picture2";
    markPanel.index = i;
    markPanel.kind = ControlKind::Panel;
    markPanel.id = ids::kMarkPanelBase + i;
    markPanel.parentId = ids::kListPanel;
    markPanel.rect = {1920, kRowPitch * i, 975, kRowHeight};
    markPanel.zOrder = i;
    markPanel.background = Colour::WindowBackground;
    markPanel.foreground = Colour::WindowText;
    markPanel.accessibleName = "Row " + row;
    form.controls.push_back(markPanel);

    ControlLayout mark;
    mark.name = "chkActive";
    mark.index = i;
    mark.kind = ControlKind::CheckBox;
    mark.id = ids::kMarkBase + i;
    mark.parentId = ids::kMarkPanelBase + i;
    mark.rect = {360, 0, 255, 195};
    mark.tabStop = true;
    mark.background = Colour::WindowBackground;
    mark.foreground = Colour::WindowText;
    mark.accessibleName = "Row " + row;
    form.controls.push_back(mark);
  }

  // The first name comes before the buttons; then the rows, each name, mark panel and mark.
  std::vector<ui::ControlName> tabOrder{{"Picture1"},    {"txtPk3", 0}, {"cmdLaunch"},
                                        {"cmdApply"},    {"cmdExit"},   {"Picture2", 0},
                                        {"chkActive", 0}};
  for (int i = 1; i < frmLauncher::kRows; ++i) {
    tabOrder.push_back({"txtPk3", i});
    tabOrder.push_back({"Picture2", i});
    tabOrder.push_back({"chkActive", i});
  }
  tabOrder.push_back({"filList"});
  tabOrder.push_back({"cmdAbout"});
  ui::setTabOrder(form, tabOrder);
  return form;
}

}  // namespace

const ui::FormLayout& layout() {
  static const ui::FormLayout form = build();
  return form;
}

std::vector<ui::Binding> bindings(frmLauncher& form) {
  std::vector<ui::Binding> result{
      {ids::kApply, &form.cmdApply}, {ids::kLaunch, &form.cmdLaunch},  {ids::kExit, &form.cmdExit},
      {ids::kAbout, &form.cmdAbout}, {ids::kProgress, &form.prgApply},
  };
  for (int i = 0; i < frmLauncher::kRows; ++i) {
    result.push_back({ids::kNameBase + i, &form.txtPk3(i)});
    result.push_back(
        {ids::kMarkBase + i, &form.chkActive(i), [&form, i] { return form.txtPk3(i).text(); }});
  }
  return result;
}

}  // namespace vcit::launcher
