#pragma once
// A page's controls declared once, each as a row: what it is, its caption, its place at 96 dpi,
// its help topic and its handler. Creation and layout both read the row, so no place is written
// twice.
#include <functional>
#include <string>
#include <vector>

#include "control/page_layout.h"
#include "ui/controls.h"

namespace vh::ui {

enum class ControlKind {
  Label, GroupBox, Push, DefaultPush, CheckBox, Radio, ReadOnlyEdit, Separator, SunkenPanel, RaisedPanel, Hosted,
  Edit
};

struct ControlRow {
  Control* control;  // of the class the kind names
  ControlKind kind;
  std::string caption;
  // In the panel or group box `in` names (the page when null): a panel holds the control, a group
  // box only gives the place it is measured from.
  Box at;
  DWORD help = 0;
  std::function<void()> onClick;  // buttons only
  Control* in = nullptr;
  Anchor anchor = Anchor::Fixed;
};

class ControlTable {
 public:
  // Makes the rows' controls in their order, which is the order Tab follows, on `page` of `window`.
  void Create(Window& window, HWND page, std::vector<ControlRow> rows);
  // Places every control for a window `growth` pixels wider than designed, with a page
  // `pageWidth` wide (96-dpi pixels).
  void Layout(int growth, int pageWidth);

 private:
  static constexpr int kDesign = -1;  // as a page width: the place as designed
  const ControlRow& RowOf(const Control* control) const;
  Box PlaceOf(const ControlRow& row, int growth, int pageWidth) const;

  std::vector<ControlRow> rows_;
};

}  // namespace vh::ui
