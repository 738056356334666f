#include "ui/control_table.h"

#include <stdexcept>

#include "ui/window.h"

namespace vh::ui {
namespace {

bool HoldsControls(ControlKind kind) { return kind == ControlKind::SunkenPanel || kind == ControlKind::RaisedPanel; }

bool IsButton(ControlKind kind) {
  return kind == ControlKind::Push || kind == ControlKind::DefaultPush || kind == ControlKind::CheckBox ||
         kind == ControlKind::Radio;
}

}  // namespace

const ControlRow& ControlTable::RowOf(const Control* control) const {
  for (const ControlRow& row : rows_) {
    if (row.control == control) return row;
  }
  throw std::logic_error("A control sits in one that its page does not hold.");
}

Box ControlTable::PlaceOf(const ControlRow& row, int growth, int pageWidth) const {
  // Made before there is a page to measure, a control starts at its design place.
  auto own = [&](int areaWidth) { return pageWidth == kDesign ? row.at : Anchored(row.at, row.anchor, growth, areaWidth); };
  if (!row.in) return own(pageWidth);
  const ControlRow& outer = RowOf(row.in);
  const Box area = PlaceOf(outer, growth, pageWidth);
  Box place = own(area.width);
  if (!HoldsControls(outer.kind)) {
    place.left += area.left;
    place.top += area.top;
  }
  return place;
}

void ControlTable::Create(Window& window, HWND page, std::vector<ControlRow> rows) {
  rows_ = std::move(rows);
  for (const ControlRow& row : rows_) {
    const Container in = row.in && HoldsControls(RowOf(row.in).kind) ? Container(*row.in) : Container(window, page);
    const Box b = PlaceOf(row, 0, kDesign);
    Control& c = *row.control;
    switch (row.kind) {
      case ControlKind::Label: static_cast<Label&>(c).Create(in, row.caption, b.left, b.top, b.width, b.height); break;
      case ControlKind::GroupBox:
        static_cast<GroupBox&>(c).Create(in, row.caption, b.left, b.top, b.width, b.height);
        break;
      case ControlKind::Push:
      case ControlKind::DefaultPush:
      case ControlKind::CheckBox:
      case ControlKind::Radio: {
        static const Button::Kind kButtons[] = {Button::Push, Button::DefaultPush, Button::CheckBox, Button::Radio};
        const auto which = kButtons[static_cast<int>(row.kind) - static_cast<int>(ControlKind::Push)];
        static_cast<Button&>(c).Create(in, which, row.caption, b.left, b.top, b.width, b.height);
        break;
      }
      case ControlKind::ReadOnlyEdit:
      case ControlKind::Edit:
        static_cast<Edit&>(c).Create(in, row.caption, b.left, b.top, b.width, b.height,
                                     row.kind == ControlKind::ReadOnlyEdit);
        break;
      case ControlKind::Separator: static_cast<Separator&>(c).Create(in, b.left, b.top, b.width); break;
      case ControlKind::SunkenPanel:
      case ControlKind::RaisedPanel:
        static_cast<Panel&>(c).Create(in, b.left, b.top, b.width, b.height,
                                      row.kind == ControlKind::SunkenPanel ? Panel::Sunken : Panel::Raised);
        break;
      case ControlKind::Hosted: static_cast<HostedControl&>(c).Create(in, b.left, b.top, b.width, b.height); break;
    }
    if (row.help) c.SetHelpContext(row.help);
    if (row.onClick) {
      if (!IsButton(row.kind)) throw std::logic_error("Only a button takes a click handler.");
      static_cast<Button&>(c).onClick = row.onClick;
    }
  }
}

void ControlTable::Layout(int growth, int pageWidth) {
  for (const ControlRow& row : rows_) {
    const Box b = PlaceOf(row, growth, pageWidth);
    row.control->SetBounds(b.left, b.top, b.width, b.height);
  }
}

}  // namespace vh::ui
