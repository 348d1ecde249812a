#pragma once
// The windowed controls behind HTML forms, as the form model drives them: a
// single-line edit, a push button, a check box, a radio button on a small
// panel of its own, a list box, a drop-down list and a multi-line edit. The
// pane hands the document a factory whose controls are children of its
// paint panel (viewer/qt/QtFormControls.h); tests and headless runs use the
// in-memory controls of viewer/forms/ScriptedFormWidgets.h.
//
// Geometry is in pixels in the panel's coordinates. Calls made through this
// port raise no events, except that focus moved by SetFocus or by hiding the
// focused control is reported like any other move of the focus: the events
// report what the user did and where the focus went.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Color.h"

namespace quillet {

class FormWidget {
 public:
  FormWidget() = default;
  virtual ~FormWidget() = default;
  FormWidget(const FormWidget&) = delete;
  FormWidget& operator=(const FormWidget&) = delete;

  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
  virtual void Move(int left, int top) = 0;
  // The outer size, frame and scroll bars included.
  virtual void Resize(int width, int height) = 0;
  // The size of the area inside the frame and the scroll bars; the outer
  // size follows. A drop-down list keeps the height its font gives it.
  virtual void SetClientSize(int width, int height) = 0;
  // Outer bounds: left, top, right, bottom.
  virtual Rect Bounds() const = 0;
  int Width() const { return Bounds().Width(); }
  int Height() const { return Bounds().Height(); }
  virtual void SetFont(const FontSpec& font) = 0;
  // Focus goes to the control (a visible one only).
  virtual void SetFocus() = 0;
  virtual bool Focused() const = 0;

  // The focus came into the control.
  std::function<void()> OnEnter;
  // The focus left it (it is already where it went).
  std::function<void()> OnExit;
  // A button was pushed, a check box or radio button clicked (after its
  // state changed).
  std::function<void()> OnClick;
  // Enter was pressed in a single-line edit.
  std::function<void()> OnReturnKey;
};

class EditWidget : public FormWidget {
 public:
  virtual std::u16string Text() const = 0;
  virtual void SetText(std::u16string_view text) = 0;
  // The most characters the user can type; a longer text that is set (a
  // VALUE) stays whole, and typing cannot lengthen it. 0 for no limit.
  virtual void SetMaxLength(int length) = 0;
  // Shown in place of every character; 0 shows the text.
  virtual void SetPasswordChar(char16_t c) = 0;
};

class ButtonWidget : public FormWidget {
 public:
  virtual std::u16string Caption() const = 0;
  virtual void SetCaption(std::u16string_view caption) = 0;
};

// A check box, and the button of a radio button. Clicking a radio button
// always leaves it checked; only the form unchecks it.
class CheckWidget : public FormWidget {
 public:
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
};

// A radio button on its own small panel, which has a colour of its own
// rather than its parent's.
class RadioWidget : public CheckWidget {
 public:
  virtual void SetBackground(TColor color) = 0;
};

// A list box, or a drop-down list the user cannot type into. In a list
// box that is not multi-select, and in a drop-down list, the current item
// is the one selected.
class ListWidget : public FormWidget {
 public:
  virtual bool MultiSelect() const = 0;
  // Replaces the items; none selected, none current.
  virtual void SetItems(const std::vector<std::u16string>& items) = 0;
  virtual int Count() const = 0;
  // The current item, -1 for none. In a multi-select list box making an
  // item current leaves the selection as it is.
  virtual int ItemIndex() const = 0;
  virtual void SetItemIndex(int index) = 0;
  virtual bool Selected(int index) const = 0;
  // Multi-select list boxes only.
  virtual void SetSelected(int index, bool selected) = 0;
  // Scrolls the item to the top of the box.
  virtual void SetTopIndex(int index) = 0;
};

// A multi-line edit.
class MemoWidget : public FormWidget {
 public:
  // The text's lines; a line end at the very end starts no further line,
  // and an empty text has none.
  virtual std::vector<std::u16string> Lines() const = 0;
  virtual void SetLines(const std::vector<std::u16string>& lines) = 0;
  // Caret at the start, nothing selected, scrolled to the top.
  virtual void MoveCaretToStart() = 0;
};

// Makes the controls, hidden, in the order the focus moves through them.
class FormWidgetFactory {
 public:
  virtual ~FormWidgetFactory() = default;

  virtual std::unique_ptr<EditWidget> CreateEdit() = 0;
  virtual std::unique_ptr<ButtonWidget> CreateButton() = 0;
  virtual std::unique_ptr<CheckWidget> CreateCheckBox() = 0;
  virtual std::unique_ptr<RadioWidget> CreateRadioButton() = 0;
  // Multi-select lists select by extending too (Shift and Ctrl).
  virtual std::unique_ptr<ListWidget> CreateListBox(bool multiSelect) = 0;
  virtual std::unique_ptr<ListWidget> CreateDropDownList() = 0;
  // Word wrap gives a vertical scroll bar only; without it there are both.
  virtual std::unique_ptr<MemoWidget> CreateMemo(bool wordWrap) = 0;

  // The font of the screen, which buttons show their captions in.
  virtual FontSpec DefaultFont() const = 0;
};

}  // namespace quillet
