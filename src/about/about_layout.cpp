#include "about/about_layout.h"

#include "about/about.h"
#include "about/about_ids.h"
#include "meta/resource_ids.h"

namespace vcit::about {

namespace {

using ui::Colour;
using ui::ControlKind;
using ui::ControlLayout;

ControlLayout label(const char* name, int id, ui::TwipsRect rect) {
  ControlLayout c;
  c.name = name;
  c.kind = ControlKind::Label;
  c.id = id;
  c.rect = rect;
  c.wordWrap = true;
  return c;
}

ui::FormLayout build() {
  ui::FormLayout form;
  form.name = "frmAbout";
  form.caption = "About";  // completed at load
  form.captionModel = ui::model<&frmAbout::Caption>;
  form.clientWidth = 5730;
  form.clientHeight = 3555;
  form.frame = ui::Frame::FixedDialog;
  form.minButton = false;
  form.maxButton = false;
  form.screenPosition = ui::TwipsRect{2340, 1935, 0, 0};
  form.iconResource = VCIT_IDI_APP;

  // In tab order.
  ControlLayout& ok = form.add(ui::commandButton("cmdOK", ids::kOK, {4245, 2625, 1260, 345}, "OK"),
                               ui::model<&frmAbout::cmdOK>, &frmAbout::cmdOK_Click);
  ok.defaultButton = true;
  ok.cancelButton = true;

  ControlLayout icon;
  icon.name = "picIcon";
  icon.kind = ControlKind::Panel;
  icon.id = ids::kIcon;
  icon.rect = {240, 240, 540, 540};
  icon.iconResource = VCIT_IDI_ABOUT;
  icon.accessibleName = "Program icon";
  form.add(icon);

  form.add(
      ui::commandButton("cmdSysInfo", ids::kSysInfo, {4260, 3075, 1245, 345}, "&System Info..."),
      ui::model<&frmAbout::cmdSysInfo>, &frmAbout::cmdSysInfo_Click);

  ControlLayout description = label("lblDescription", ids::kDescription, {1050, 1125, 3885, 1170});
  description.caption = kDescription;
  description.foreground = Colour::Black;
  form.add(description, ui::model<&frmAbout::lblDescription>);

  ControlLayout disclaimer = label("lblDisclaimer", ids::kDisclaimer, {255, 2625, 3870, 825});
  disclaimer.caption = kDisclaimer;
  disclaimer.foreground = Colour::Black;
  form.add(disclaimer, ui::model<&frmAbout::lblDisclaimer>);

  ControlLayout title = label("lblTitle", ids::kTitle, {1050, 240, 3885, 480});
  title.foreground = Colour::Black;
  title.font = ui::FontSpec{12, true};
  form.add(title, ui::model<&frmAbout::lblTitle>);

  form.add(label("lblVersion", ids::kVersion, {1050, 780, 3885, 225}),
           ui::model<&frmAbout::lblVersion>);

  // An etched separator, in the scheme's own shadow and highlight where black text would not do.
  form.lines.push_back({"Line1", 1, 90, 2445, 5654, 2445, Colour::Grey, 1, Colour::ButtonShadow});
  form.lines.push_back(
      {"Line1", 0, 105, 2460, 5654, 2460, Colour::White, 2, Colour::ButtonHighlight});
  return form;
}

}  // namespace

const ui::FormLayout& layout() {
  static const ui::FormLayout form = build();
  return form;
}

}  // namespace vcit::about
