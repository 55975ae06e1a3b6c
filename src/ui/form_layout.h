#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace vcit::ui {

class CheckBox;
class CommandButton;
class Label;
class ProgressBar;
class TextControl;
class TextBox;

// The logic of a window (its state, model controls and event handlers) derives from this, so
// that a layout can name its handlers and model controls as plain member pointers.
class FormLogic {
 protected:
  FormLogic() = default;
  ~FormLogic() = default;
};

// An event handler of a window's logic; an element of a control array is given its index.
using Handler = void (FormLogic::*)();
using ArrayHandler = void (FormLogic::*)(std::int16_t index);

template <class Logic>
Handler on(void (Logic::*handler)()) {
  static_assert(std::is_base_of_v<FormLogic, Logic>);
  return static_cast<Handler>(handler);
}
template <class Logic>
ArrayHandler on(void (Logic::*handler)(std::int16_t)) {
  static_assert(std::is_base_of_v<FormLogic, Logic>);
  return static_cast<ArrayHandler>(handler);
}

// The model control behind a child window.
using Model = std::variant<CommandButton*, CheckBox*, TextBox*, Label*, ProgressBar*>;
// Finds a model control in a window's logic (by the element's index in a control array).
using ModelOf = Model (*)(FormLogic& logic, int index);
// The name a screen reader reads, when it follows the logic's state.
using NameOf = std::string (*)(FormLogic& logic, int index);
// What a control adds to its name, for a screen reader (its description) and as its tooltip;
// empty for nothing now.
using DescriptionOf = std::string (*)(FormLogic& logic, int index);

template <class Member>
struct MemberOf;
template <class Logic, class Type>
struct MemberOf<Type Logic::*> {
  using LogicType = Logic;
};

// The ModelOf of a model control that is a member (or a control array) of the logic:
// ui::model<&frmLauncher::cmdApply>.
template <auto Member>
Model model(FormLogic& logic, int index) {
  using Logic = typename MemberOf<decltype(Member)>::LogicType;
  auto& member = static_cast<Logic&>(logic).*Member;
  if constexpr (requires { member(0L); }) {
    return &member(index);
  } else {
    return &member;
  }
}

// The model's text, when it is a text box or a label; null for other controls.
TextControl* textOf(const Model& model);

// A window's design as data: what a toolkit needs to build it. Positions and sizes are in
// twips (1/1440 inch) from the top-left corner of the parent's client area.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

enum class ControlKind {
  CommandButton,
  CheckBox,
  TextBox,   // one line
  Panel,     // a picture panel used as a container, or holding an icon
  FileList,  // a list of file names
  Label,
  ProgressBar,  // a bar that fills as a long action goes on
};

// Colours a control is painted with.
enum class Colour {
  Default,           // the toolkit's own for the kind of control
  ButtonFace,        // the system's 3D face colour
  WindowBackground,  // the system's window-background colour
  WindowText,        // the system's window-text colour
  ButtonShadow,      // the system's 3D shadow colour
  ButtonHighlight,   // the system's 3D highlight colour
  Black,
  White,
  Grey,  // red-green-blue 128, 128, 128
};

struct FontSpec {
  int points = 8;
  bool bold = false;
};

struct ControlLayout {
  std::string name;  // e.g. "txtPk3"
  int index = -1;    // the element of a control array, or -1
  ControlKind kind = ControlKind::Label;
  int id = 0;        // the child-window identifier
  int parentId = 0;  // 0: the window itself
  TwipsRect rect;
  int tabIndex = -1;     // the position in the window's tab order; -1 for none
  bool tabStop = false;  // whether the Tab key stops at it
  // Where siblings overlap, the one with the higher value is drawn on top; of equal ones, the
  // earlier in tab order.
  int zOrder = 0;
  std::string caption;  // "&" marks the access key
  bool visible = true;
  bool enabled = true;
  bool readOnly = false;
  bool border = false;  // a sunken border
  bool wordWrap = false;
  bool defaultButton = false;  // pressed by Enter
  bool cancelButton = false;   // pressed by Esc
  Colour background = Colour::Default;
  Colour foreground = Colour::Default;
  std::optional<FontSpec> font;  // none: the window's font
  int iconResource = 0;          // a panel's icon, by resource number (0: none)
  // What a screen reader calls it when neither its model nor its caption names it.
  std::string accessibleName;
  // Its part of the window's logic (all none for a control the logic does not see): the model
  // control it shows, its Click handler (onArrayClick for an element of a control array) and
  // the name a screen reader reads when that follows the logic.
  ModelOf model = nullptr;
  Handler onClick = nullptr;
  ArrayHandler onArrayClick = nullptr;
  NameOf nameOf = nullptr;
  DescriptionOf descriptionOf = nullptr;
};

// Raises a control's Click: runs the handler its layout names, if any, in the window's logic.
inline void raiseClick(FormLogic& logic, const ControlLayout& control) {
  if (control.onClick) {
    (logic.*control.onClick)();
  } else if (control.onArrayClick) {
    (logic.*control.onArrayClick)(static_cast<std::int16_t>(control.index));
  }
}

// A straight line drawn on the window's client area, its width in pixels at 96 DPI.
struct LineLayout {
  std::string name;
  int index = -1;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Colour colour = Colour::Black;
  int widthPixels = 1;
  // The system colour it takes in a colour scheme where the window's fixed colours do not hold
  // (ui/contrast.h); Default: its own colour in every scheme.
  Colour schemeColour = Colour::Default;
};

enum class Frame {
  Sizable,      // the ordinary resizable frame of a top-level window
  FixedDialog,  // a fixed-size dialog frame
};

struct FormLayout {
  std::string name;
  std::string caption;
  int clientWidth = 0;  // twips
  int clientHeight = 0;
  Frame frame = Frame::Sizable;
  bool minButton = true;
  bool maxButton = true;
  // The client area's top-left corner on the screen, in twips; none: where the system
  // places a new window.
  std::optional<TwipsRect> screenPosition;
  int iconResource = 0;            // the window's icon (0: the system's)
  ModelOf captionModel = nullptr;  // a label of the logic that the caption shows; none: fixed
  FontSpec font;
  std::vector<ControlLayout> controls;
  std::vector<LineLayout> lines;

  // Declares a control: the tab order is the order of declaration, but for progress bars,
  // which have no place in it.
  ControlLayout& add(ControlLayout control) {
    control.tabIndex =
        control.kind == ControlKind::ProgressBar ? -1 : static_cast<int>(tabOrder().size());
    controls.push_back(std::move(control));
    return controls.back();
  }
  // A control that shows a model control of the logic, and raises its Click handler.
  template <class Click = std::nullptr_t>
  ControlLayout& add(ControlLayout control, ModelOf modelOf, Click click = nullptr) {
    control.model = modelOf;
    if constexpr (!std::is_null_pointer_v<Click>) {
      if constexpr (std::is_same_v<decltype(on(click)), Handler>) {
        control.onClick = on(click);
      } else {
        control.onArrayClick = on(click);
      }
    }
    return add(std::move(control));
  }

  const ControlLayout* find(const std::string& controlName, int index = -1) const {
    for (const auto& c : controls)
      if (c.name == controlName && c.index == index) return &c;
    return nullptr;
  }
  const ControlLayout* findId(int id) const {
    for (const auto& c : controls)
      if (c.id == id) return &c;
    return nullptr;
  }
  // The controls that have a tab index, in tab order.
  std::vector<const ControlLayout*> tabOrder() const;
};

// A command button that the Tab key stops at.
ControlLayout commandButton(const char* name, int id, TwipsRect rect, const char* caption);

// Ties the model controls of the logic to the Click handlers that the layout names, so that a
// click on the model (a user's, or a check box's new value) raises its handler.
void connect(FormLogic& logic, const FormLayout& layout);

}  // namespace vcit::ui
