#include "viewer/forms/FormControlPictures.h"

#include <algorithm>

#include "viewer/forms/FormControls.h"
#include "viewer/forms/Forms.h"
#include "viewer/forms/ScriptedFormWidgets.h"
#include "viewer/style/Bevel.h"

namespace quillet {

namespace {

constexpr int kFrame = ScriptedFormWidgets::kFrame;
constexpr int kBar = ScriptedFormWidgets::kScrollBar;
constexpr TColor kDarkShadow = 0x404040;
// Selected items: the classic highlight.
constexpr TColor kHighlight = clNavy;
constexpr TColor kHighlightText = clWhite;

Rect Inset(const Rect& r, int d) { return {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d}; }

// The two-pixel frame of an edit, a list or a check box.
void Sunken(Canvas& canvas, const Rect& r) {
  DrawBevel(canvas, r, clBtnShadow, clBtnHighlight);
  DrawBevel(canvas, Inset(r, 1), kDarkShadow, clBtnFace);
}

// A button's face and frame.
void Raised(Canvas& canvas, const Rect& r) {
  canvas.FillRect(r, clBtnFace);
  DrawBevel(canvas, r, clBtnHighlight, kDarkShadow);
  DrawBevel(canvas, Inset(r, 1), clBtnFace, clBtnShadow);
}

enum class Arrow { Up, Down, Left, Right };

// A small filled triangle centred in r.
void DrawArrow(Canvas& canvas, const Rect& r, Arrow arrow) {
  const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
  std::vector<Point> p;
  switch (arrow) {
    case Arrow::Up: p = {{cx - 3, cy + 1}, {cx + 3, cy + 1}, {cx, cy - 2}}; break;
    case Arrow::Down: p = {{cx - 3, cy - 1}, {cx + 3, cy - 1}, {cx, cy + 2}}; break;
    case Arrow::Left: p = {{cx + 1, cy - 3}, {cx + 1, cy + 3}, {cx - 2, cy}}; break;
    case Arrow::Right: p = {{cx - 1, cy - 3}, {cx - 1, cy + 3}, {cx + 2, cy}}; break;
  }
  canvas.Polygon(p, clBtnText, clBtnText);
}

// A scroll bar in r showing shown of total units from the start.
void ScrollBar(Canvas& canvas, const Rect& r, bool vertical, int shown, int total) {
  canvas.FillRect(r, clBtnHighlight);
  const int length = vertical ? r.Height() : r.Width();
  const int button = std::min(kBar, length / 2);
  Rect first = r, second = r, track = r;
  if (vertical) {
    first.Bottom = r.Top + button;
    second.Top = r.Bottom - button;
    track = {r.Left, first.Bottom, r.Right, second.Top};
  } else {
    first.Right = r.Left + button;
    second.Left = r.Right - button;
    track = {first.Right, r.Top, second.Left, r.Bottom};
  }
  Raised(canvas, first);
  Raised(canvas, second);
  DrawArrow(canvas, first, vertical ? Arrow::Up : Arrow::Left);
  DrawArrow(canvas, second, vertical ? Arrow::Down : Arrow::Right);
  const int room = vertical ? track.Height() : track.Width();
  if (room < 8 || total <= 0) return;
  const int thumb = std::clamp(static_cast<int>(static_cast<long long>(room) * std::min(shown, total) / total), 8, room);
  Raised(canvas, vertical ? Rect{track.Left, track.Top, track.Right, track.Top + thumb}
                          : Rect{track.Left, track.Top, track.Left + thumb, track.Bottom});
}

FontSpec InColor(FontSpec font, TColor color) {
  font.Color = color;
  return font;
}

// One line of text in area, vertically centred when centre, else from its
// top; clipped to area.
void TextIn(Canvas& canvas, const Rect& area, int x, std::u16string_view text, bool centre) {
  const FontMetrics m = canvas.Metrics();
  const int top = centre ? area.Top + (area.Height() - m.Height) / 2 : area.Top;
  ClipScope clip(canvas, area);
  canvas.TextOut(x, top + m.Ascent, text);
}

void PaintEdit(const TEditFormControlObj& edit, Canvas& canvas, const Rect& r) {
  canvas.FillRect(r, clWindow);
  Sunken(canvas, r);
  std::u16string text = edit.Edit().Text();
  if (edit.Password) text.assign(text.size(), u'*');
  canvas.SelectFont(InColor(edit.PreFont(), clWindowText));
  const Rect inner = Inset(r, kFrame);
  TextIn(canvas, inner, inner.Left + 2, text, true);
}

void PaintButton(const TButtonFormControlObj& button, Canvas& canvas, const Rect& r) {
  Raised(canvas, r);
  canvas.SelectFont(InColor(button.Host().Widgets().DefaultFont(), clBtnText));
  const std::u16string caption = button.Button().Caption();
  const Rect inner = Inset(r, kFrame);
  TextIn(canvas, inner, r.Left + (r.Width() - canvas.TextWidth(caption)) / 2, caption, true);
}

void PaintCheckBox(const TCheckBoxFormControlObj& box, Canvas& canvas, const Rect& r) {
  canvas.FillRect(r, clWindow);
  Sunken(canvas, r);
  if (!box.Box().Checked()) return;
  // A tick three pixels thick.
  const int x = r.Left + 3, y = r.Top + 5;
  for (int d = 0; d < 3; ++d) {
    canvas.Line(x, y + d, x + 2, y + 2 + d, clWindowText);
    canvas.Line(x + 2, y + 2 + d, x + 7, y - 3 + d, clWindowText);
  }
}

void PaintRadio(const TRadioButtonFormControlObj& radio, Canvas& canvas, const Rect& r) {
  canvas.FillRect(r, radio.Background());
  const Rect circle{r.Left, r.Top, r.Left + 12, r.Top + 12};
  canvas.Ellipse(circle, clBtnShadow, clWindow);
  canvas.Ellipse(Inset(circle, 1), kDarkShadow, std::nullopt);
  if (radio.Radio().Checked()) canvas.Ellipse(Inset(circle, 4), clWindowText, clWindowText);
}

void PaintListBox(const TListBoxFormControlObj& box, Canvas& canvas, const Rect& r) {
  canvas.FillRect(r, clWindow);
  Sunken(canvas, r);
  const ListWidget& list = box.List();
  const int count = std::min(list.Count(), static_cast<int>(box.Options.size()));
  canvas.SelectFont(box.PreFont());
  const int rowHeight = std::max(canvas.Metrics().Height, 1);
  Rect client = Inset(r, kFrame);
  // The in-memory list box says whether it gave itself a scroll bar.
  const auto* scripted = dynamic_cast<const ScriptedList*>(&list);
  const bool bar = scripted ? scripted->ClientWidth() < r.Width() - 2 * kFrame
                            : static_cast<long long>(count) * rowHeight > client.Height();
  if (bar) {
    client.Right -= kBar;
    ScrollBar(canvas, {client.Right, client.Top, client.Right + kBar, client.Bottom}, true,
              client.Height() / rowHeight, count);
  }
  ClipScope clip(canvas, client);
  for (int i = 0, y = client.Top; i < count && y < client.Bottom; ++i, y += rowHeight) {
    const Rect row{client.Left, y, client.Right, y + rowHeight};
    const bool selected = list.MultiSelect() ? list.Selected(i) : list.ItemIndex() == i;
    if (selected) canvas.FillRect(row, kHighlight);
    canvas.SelectFont(InColor(box.PreFont(), selected ? kHighlightText : clWindowText));
    TextIn(canvas, row, row.Left + 2, box.Options[static_cast<size_t>(i)].Text, false);
  }
}

void PaintComboBox(const TComboFormControlObj& combo, Canvas& canvas, const Rect& r) {
  canvas.FillRect(r, clWindow);
  Sunken(canvas, r);
  Rect client = Inset(r, kFrame);
  const Rect button{std::max(client.Left, client.Right - kBar), client.Top, client.Right, client.Bottom};
  Raised(canvas, button);
  DrawArrow(canvas, button, Arrow::Down);
  client.Right = button.Left;
  const int index = combo.List().ItemIndex();
  if (index < 0 || index >= static_cast<int>(combo.Options.size())) return;
  canvas.SelectFont(InColor(combo.Host().Widgets().DefaultFont(), clWindowText));
  TextIn(canvas, client, client.Left + 2, combo.Options[static_cast<size_t>(index)].Text, true);
}

void PaintTextArea(const TTextAreaFormControlObj& area, Canvas& canvas, const Rect& r) {
  canvas.FillRect(r, clWindow);
  Sunken(canvas, r);
  Rect client = Inset(r, kFrame);
  client.Right -= kBar;
  if (!area.WordWrap) client.Bottom -= kBar;
  const std::vector<std::u16string> lines = area.Memo().Lines();
  canvas.SelectFont(InColor(area.PreFont(), clWindowText));
  const int rowHeight = std::max(canvas.Metrics().Height, 1);
  ScrollBar(canvas, {client.Right, client.Top, client.Right + kBar, client.Bottom}, true,
            client.Height() / rowHeight, static_cast<int>(lines.size()));
  if (!area.WordWrap) {
    ScrollBar(canvas, {client.Left, client.Bottom, client.Right, client.Bottom + kBar}, false, 1, 1);
    canvas.FillRect({client.Right, client.Bottom, client.Right + kBar, client.Bottom + kBar}, clBtnFace);
  }
  canvas.SelectFont(InColor(area.PreFont(), clWindowText));
  ClipScope clip(canvas, client);
  int y = client.Top;
  for (const std::u16string& line : lines) {
    if (y >= client.Bottom) break;
    TextIn(canvas, {client.Left, y, client.Right, y + rowHeight}, client.Left + 2, line, false);
    y += rowHeight;
  }
}

}  // namespace

void PaintFormControl(const TFormControlObj& control, Canvas& canvas) {
  const FormWidget* widget = control.Widget();
  if (!widget) return;
  const Rect r = widget->Bounds();
  if (r.Empty()) return;
  if (const auto* edit = dynamic_cast<const TEditFormControlObj*>(&control))
    PaintEdit(*edit, canvas, r);
  else if (const auto* button = dynamic_cast<const TButtonFormControlObj*>(&control))
    PaintButton(*button, canvas, r);
  else if (const auto* box = dynamic_cast<const TCheckBoxFormControlObj*>(&control))
    PaintCheckBox(*box, canvas, r);
  else if (const auto* radio = dynamic_cast<const TRadioButtonFormControlObj*>(&control))
    PaintRadio(*radio, canvas, r);
  else if (const auto* combo = dynamic_cast<const TComboFormControlObj*>(&control))
    PaintComboBox(*combo, canvas, r);
  else if (const auto* list = dynamic_cast<const TListBoxFormControlObj*>(&control))
    PaintListBox(*list, canvas, r);
  else if (const auto* area = dynamic_cast<const TTextAreaFormControlObj*>(&control))
    PaintTextArea(*area, canvas, r);
}

void PaintFormControls(const DocumentForms& forms, Canvas& canvas) {
  for (const TFormControlObj* control : forms.FormControlList())
    if (control->Shown) PaintFormControl(*control, canvas);
}

}  // namespace quillet
