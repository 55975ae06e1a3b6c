#pragma once

#include <functional>
#include <optional>
#include <string>
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
};

// A straight line drawn on the window's client area, its width in pixels at 96 DPI.
struct LineLayout {
  std::string name;
  int index = -1;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Colour colour = Colour::Black;
  int widthPixels = 1;
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
  int iconResource = 0;  // the window's icon (0: the system's)
  FontSpec font;
  std::vector<ControlLayout> controls;
  std::vector<LineLayout> lines;

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

// A control of a layout by name, and by index for an element of a control array.
struct ControlName {
  std::string name;
  int index = -1;
};

// Gives the named controls the tab indices 0, 1, 2... in the order listed; error 51 for a
// name the layout does not have.
void setTabOrder(FormLayout& form, const std::vector<ControlName>& order);

// A model control tied to the child window with this identifier (or, with id 0 and a label,
// to the window's caption).
struct Binding {
  using Model = std::variant<CommandButton*, CheckBox*, TextBox*, Label*, ProgressBar*>;
  Binding(int bindingId, Model model, std::function<std::string()> name = {})
      : id(bindingId), control(model), accessibleName(std::move(name)) {}

  int id = 0;
  Model control;
  // The name a screen reader reads, when it follows the model (empty: the layout's).
  std::function<std::string()> accessibleName;

  // The model's text, when it is a text box or a label; null for other controls.
  TextControl* text() const;
};

}  // namespace vcit::ui
