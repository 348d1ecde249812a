#pragma once
// Form controls held in memory: they keep their state and geometry, record
// the calls that move, size and show them, and let a test act as the user
// (focus, click, type, choose an item, press Enter), raising the events a
// real control would. Headless runs (rendered pictures, fuzzing, layout
// without a window) use them too.
//
// Sizes, with the fixed metrics of platform/FixedCanvas.h:
//   list boxes and memos have a frame of kFrame pixels on every side and
//   scroll bars kScrollBar pixels thick: a memo always has the vertical
//   bar and, without word wrap, the horizontal one; a list box has the
//   vertical bar when its items (each as tall as its font) do not fit;
//   a drop-down list is as wide as its client width and as tall as its
//   font plus 8;
//   other controls take the size they are given.
// Records read like "edit1 Move 0,-400", "list1 Resize 130,56", "radio2 Hide",
// "memo4 Focus", one per call, each control named by its kind and the order
// it was made in.
#include <set>
#include <string>
#include <vector>

#include "platform/FixedCanvas.h"
#include "viewer/forms/FormWidgets.h"

namespace quillet {

class ScriptedFormWidgets;

namespace scripted_detail {

// The geometry, visibility, font and focus every control shares.
template <class Base>
class Widget : public Base {
 public:
  Widget(ScriptedFormWidgets& owner, std::string id);
  ~Widget() override;

  const std::string& Id() const { return id_; }

  void SetVisible(bool visible) override;
  bool Visible() const override { return visible_; }
  void Move(int left, int top) override;
  void Resize(int width, int height) override;
  void SetClientSize(int width, int height) override;
  Rect Bounds() const override { return bounds_; }
  void SetFont(const FontSpec& font) override;
  const FontSpec& Font() const { return font_; }
  void SetFocus() override;
  bool Focused() const override;
  // The size inside frame and scroll bars.
  int ClientWidth() const { return bounds_.Width() - ExtraWidth(); }
  int ClientHeight() const { return bounds_.Height() - ExtraHeight(); }

  // As the user: gives the control the focus (a visible one only).
  void Focus() { SetFocus(); }

 protected:
  virtual int ExtraWidth() const { return 0; }
  virtual int ExtraHeight() const { return 0; }
  void Note(const std::string& what);
  // Through a copy: the handler may free the control, and the event with
  // it, while it runs.
  static void Raise(const std::function<void()>& event) {
    if (!event) return;
    const std::function<void()> copy = event;
    copy();
  }

  ScriptedFormWidgets& owner_;

 private:
  std::string id_;
  bool visible_ = false;
  Rect bounds_;
  FontSpec font_;
};

}  // namespace scripted_detail

class ScriptedEdit : public scripted_detail::Widget<EditWidget> {
 public:
  using Widget::Widget;
  std::u16string Text() const override { return text_; }
  void SetText(std::u16string_view text) override;
  void SetMaxLength(int length) override;
  void SetPasswordChar(char16_t c) override { passwordChar_ = c; }
  int MaxLength() const { return maxLength_; }
  // What the control shows: the text, or one password character for each
  // of its characters.
  std::u16string ShownText() const;

  // As the user: focus, then the text replaced by what is typed (cut to
  // the maximum length, as typing stops there).
  void Type(std::u16string_view text);
  // As the user: focus, then Enter.
  void PressEnter();

 private:
  std::u16string text_;
  int maxLength_ = 0;
  char16_t passwordChar_ = 0;
};

class ScriptedButton : public scripted_detail::Widget<ButtonWidget> {
 public:
  using Widget::Widget;
  std::u16string Caption() const override { return caption_; }
  void SetCaption(std::u16string_view caption) override { caption_ = caption; }
  // As the user: focus, then a push.
  void Click();

 private:
  std::u16string caption_;
};

class ScriptedCheckBox : public scripted_detail::Widget<CheckWidget> {
 public:
  using Widget::Widget;
  bool Checked() const override { return checked_; }
  void SetChecked(bool checked) override { checked_ = checked; }
  // As the user: focus, then the box toggles.
  void Click();

 private:
  bool checked_ = false;
};

class ScriptedRadioButton : public scripted_detail::Widget<RadioWidget> {
 public:
  using Widget::Widget;
  bool Checked() const override { return checked_; }
  void SetChecked(bool checked) override { checked_ = checked; }
  void SetBackground(TColor color) override { background_ = color; }
  TColor Background() const { return background_; }
  // As the user: focus, then the button is checked.
  void Click();

 private:
  bool checked_ = false;
  TColor background_ = clBtnFace;
};

class ScriptedList : public scripted_detail::Widget<ListWidget> {
 public:
  ScriptedList(ScriptedFormWidgets& owner, std::string id, bool dropDown, bool multiSelect);

  bool MultiSelect() const override { return multi_; }
  void SetItems(const std::vector<std::u16string>& items) override;
  int Count() const override { return static_cast<int>(items_.size()); }
  int ItemIndex() const override { return index_; }
  void SetItemIndex(int index) override;
  bool Selected(int index) const override;
  void SetSelected(int index, bool selected) override;
  void SetTopIndex(int index) override { top_ = index; }
  void SetClientSize(int width, int height) override;
  void SetFont(const FontSpec& font) override;

  bool DropDown() const { return dropDown_; }
  const std::vector<std::u16string>& Items() const { return items_; }
  int TopIndex() const { return top_; }
  // As the user: focus, then a click on the item: in a multi-select list
  // box it toggles, elsewhere it becomes the one selected.
  void Choose(int index);

 protected:
  int ExtraWidth() const override;
  int ExtraHeight() const override;

 private:
  bool dropDown_;
  bool multi_;
  std::vector<std::u16string> items_;
  std::set<int> selected_;
  int index_ = -1;
  int top_ = 0;
  bool bar_ = false;
};

class ScriptedMemo : public scripted_detail::Widget<MemoWidget> {
 public:
  ScriptedMemo(ScriptedFormWidgets& owner, std::string id, bool wordWrap)
      : Widget(owner, std::move(id)), wordWrap_(wordWrap) {}

  std::vector<std::u16string> Lines() const override { return lines_; }
  void SetLines(const std::vector<std::u16string>& lines) override { lines_ = lines; }
  void MoveCaretToStart() override { caret_ = 0; }

  bool WordWrap() const { return wordWrap_; }
  // The caret's character position, -1 until placed.
  int Caret() const { return caret_; }
  // As the user: focus, then the text replaced by what is typed, its
  // lines cut at "\n"; the caret goes to the end.
  void Type(std::u16string_view text);

 protected:
  int ExtraWidth() const override;
  int ExtraHeight() const override;

 private:
  bool wordWrap_;
  std::vector<std::u16string> lines_;
  int caret_ = -1;
};

class ScriptedFormWidgets : public FormWidgetFactory {
 public:
  static constexpr int kFrame = 2;
  static constexpr int kScrollBar = 16;

  std::unique_ptr<EditWidget> CreateEdit() override;
  std::unique_ptr<ButtonWidget> CreateButton() override;
  std::unique_ptr<CheckWidget> CreateCheckBox() override;
  std::unique_ptr<RadioWidget> CreateRadioButton() override;
  std::unique_ptr<ListWidget> CreateListBox(bool multiSelect) override;
  std::unique_ptr<ListWidget> CreateDropDownList() override;
  std::unique_ptr<MemoWidget> CreateMemo(bool wordWrap) override;
  FontSpec DefaultFont() const override { return ScreenFont; }

  // The screen's font: 9-point Arial, so 6 pixels a character and 12 high.
  FontSpec ScreenFont{u"Arial", 9};
  // One line per call; tests clear it and compare it.
  std::vector<std::string> Calls;

  // The control with the focus, or none.
  FormWidget* Focused() const { return focused_; }
  // Moves the focus (none: out of the controls), raising exit, then enter.
  void MoveFocus(FormWidget* to);
  // A control is going away; it takes the focus with it, unannounced.
  void Forget(FormWidget* widget);

 private:
  std::string NextId(const char* kind);

  FormWidget* focused_ = nullptr;
  int made_ = 0;
};

}  // namespace quillet
