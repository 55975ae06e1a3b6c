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

std::string sharedFiles(ui::FormLogic& logic, int index) {
  return static_cast<frmLauncher&>(logic).SharedFiles(static_cast<std::int16_t>(index));
}

// A row's name box, beside its mark's panel.
void addName(ui::FormLayout& form, int i) {
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
  // A screen reader names a row's controls by the row (counted from 1); a row's check box by
  // its package once the row has one.
  name.accessibleName = "Package " + std::to_string(i + 1);
  // What its package shares with the others: its description and tooltip.
  name.descriptionOf = sharedFiles;
  form.add(name, ui::model<&frmLauncher::txtPk3>);
}

std::string markName(ui::FormLogic& logic, int index) {
  return static_cast<frmLauncher&>(logic).txtPk3(index).text();
}

// A row's mark, in a panel of its own.
void addMark(ui::FormLayout& form, int i) {
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
  markPanel.accessibleName = "Row " + std::to_string(i + 1);
  form.add(markPanel);

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
  mark.accessibleName = markPanel.accessibleName;
  mark.nameOf = markName;
  form.add(mark, ui::model<&frmLauncher::chkActive>, &frmLauncher::chkActive_Click);
}

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

  // In tab order: the first name comes before the buttons; then the rows, each name, mark
  // panel and mark.
  ControlLayout panel;
  panel.name = "Picture1";
  panel.kind = ControlKind::Panel;
  panel.id = ids::kListPanel;
  panel.rect = {240, 120, 3255, 4095};
  panel.border = true;
  panel.background = Colour::ButtonFace;
  panel.accessibleName = "Packages";
  form.add(panel);
  addName(form, 0);

  form.add(ui::commandButton("cmdLaunch", ids::kLaunch, {3720, 840, 1215, 375}, "&Launch VC"),
           ui::model<&frmLauncher::cmdLaunch>, &frmLauncher::cmdLaunch_Click);
  form.add(ui::commandButton("cmdApply", ids::kApply, {3720, 240, 1215, 375}, "&Apply"),
           ui::model<&frmLauncher::cmdApply>, &frmLauncher::cmdApply_Click);
  form.add(ui::commandButton("cmdExit", ids::kExit, {3720, 1440, 1215, 375}, "E&xit"),
           ui::model<&frmLauncher::cmdExit>, &frmLauncher::cmdExit_Click);

  // Each row is taller than the row pitch, so it overlaps the next: the later row lies on top,
  // which keeps every check box and the top of every name (the accents of capitals) whole, and
  // covers only the bottom edge of the row above.
  addMark(form, 0);
  for (int i = 1; i < frmLauncher::kRows; ++i) {
    addName(form, i);
    addMark(form, i);
  }

  ControlLayout files;
  files.name = "filList";
  files.kind = ControlKind::FileList;
  files.id = ids::kFileList;
  files.rect = {3720, 2640, 1215, 1065};
  files.tabStop = true;  // it never shows, so Tab passes over it
  files.visible = false;
  files.accessibleName = "Package files";
  form.add(files);

  form.add(ui::commandButton("cmdAbout", ids::kAbout, {3720, 3840, 1215, 255}, "About..."),
           ui::model<&frmLauncher::cmdAbout>, &frmLauncher::cmdAbout_Click);

  // In the empty part of the column, below Exit; shown only while Apply copies.
  ControlLayout progress;
  progress.name = "prgApply";
  progress.kind = ControlKind::ProgressBar;
  progress.id = ids::kProgress;
  progress.rect = {3720, 2040, 1215, 255};
  progress.visible = false;
  progress.accessibleName = "Apply progress";
  form.add(progress, ui::model<&frmLauncher::prgApply>);
  return form;
}

}  // namespace

const ui::FormLayout& layout() {
  static const ui::FormLayout form = build();
  return form;
}

}  // namespace vcit::launcher
