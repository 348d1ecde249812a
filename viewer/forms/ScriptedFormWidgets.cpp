#include "viewer/forms/ScriptedFormWidgets.h"

#include <algorithm>

namespace quillet {

namespace scripted_detail {

template <class Base>
Widget<Base>::Widget(ScriptedFormWidgets& owner, std::string id) : owner_(owner), id_(std::move(id)) {
  font_ = owner.DefaultFont();
}

template <class Base>
Widget<Base>::~Widget() {
  owner_.Forget(this);
}

template <class Base>
void Widget<Base>::Note(const std::string& what) {
  owner_.Calls.push_back(id_ + " " + what);
}

template <class Base>
void Widget<Base>::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Note(visible ? "Show" : "Hide");
  // Like a real control, a hidden one gives the focus up.
  if (!visible && owner_.Focused() == this) owner_.MoveFocus(nullptr);
}

template <class Base>
void Widget<Base>::Move(int left, int top) {
  bounds_ = {left, top, left + bounds_.Width(), top + bounds_.Height()};
  Note("Move " + std::to_string(left) + "," + std::to_string(top));
}

template <class Base>
void Widget<Base>::Resize(int width, int height) {
  bounds_.Right = bounds_.Left + width;
  bounds_.Bottom = bounds_.Top + height;
  Note("Resize " + std::to_string(width) + "," + std::to_string(height));
}

template <class Base>
void Widget<Base>::SetClientSize(int width, int height) {
  Resize(width + ExtraWidth(), height + ExtraHeight());
}

template <class Base>
void Widget<Base>::SetFont(const FontSpec& font) {
  font_ = font;
  Note("Font " + ToUtf8(font.Face) + " " + std::to_string(font.Size));
}

template <class Base>
void Widget<Base>::SetFocus() {
  if (!visible_ || owner_.Focused() == this) return;
  Note("Focus");
  owner_.MoveFocus(this);
}

template <class Base>
bool Widget<Base>::Focused() const {
  return owner_.Focused() == this;
}

template class Widget<EditWidget>;
template class Widget<ButtonWidget>;
template class Widget<CheckWidget>;
template class Widget<RadioWidget>;
template class Widget<ListWidget>;
template class Widget<MemoWidget>;

}  // namespace scripted_detail

// --- Edit ---

std::u16string ScriptedEdit::ShownText() const {
  return passwordChar_ ? std::u16string(text_.size(), passwordChar_) : text_;
}

void ScriptedEdit::SetText(std::u16string_view text) { text_ = text; }

void ScriptedEdit::SetMaxLength(int length) { maxLength_ = length; }

void ScriptedEdit::Type(std::u16string_view text) {
  Focus();
  if (maxLength_ > 0 && text.size() > static_cast<size_t>(maxLength_)) text = text.substr(0, static_cast<size_t>(maxLength_));
  text_ = text;
}

void ScriptedEdit::PressEnter() {
  Focus();
  Raise(OnReturnKey);
}

// --- Buttons ---

void ScriptedButton::Click() {
  Focus();
  Raise(OnClick);
}

void ScriptedCheckBox::Click() {
  Focus();
  checked_ = !checked_;
  Raise(OnClick);
}

void ScriptedRadioButton::Click() {
  Focus();
  checked_ = true;
  Raise(OnClick);
}

// --- Lists ---

ScriptedList::ScriptedList(ScriptedFormWidgets& owner, std::string id, bool dropDown, bool multiSelect)
    : Widget(owner, std::move(id)), dropDown_(dropDown), multi_(multiSelect && !dropDown) {
  if (dropDown_) Resize(0, FixedCanvas::MetricsFor(Font()).Height + 8);
}

void ScriptedList::SetItems(const std::vector<std::u16string>& items) {
  items_ = items;
  selected_.clear();
  index_ = -1;
  top_ = 0;
}

void ScriptedList::SetItemIndex(int index) {
  index_ = index >= 0 && index < Count() ? index : -1;
}

bool ScriptedList::Selected(int index) const {
  return multi_ ? selected_.count(index) > 0 : index >= 0 && index == index_;
}

void ScriptedList::SetSelected(int index, bool selected) {
  if (!multi_ || index < 0 || index >= Count()) return;
  if (selected)
    selected_.insert(index);
  else
    selected_.erase(index);
}

void ScriptedList::SetFont(const FontSpec& font) {
  Widget::SetFont(font);
  if (dropDown_) Resize(Width(), FixedCanvas::MetricsFor(font).Height + 8);
}

void ScriptedList::SetClientSize(int width, int height) {
  if (dropDown_) {
    Resize(width, Height());
    return;
  }
  bar_ = static_cast<long long>(FixedCanvas::MetricsFor(Font()).Height) * Count() > height;
  Widget::SetClientSize(width, height);
}

int ScriptedList::ExtraWidth() const {
  if (dropDown_) return 0;
  return 2 * ScriptedFormWidgets::kFrame + (bar_ ? ScriptedFormWidgets::kScrollBar : 0);
}

int ScriptedList::ExtraHeight() const { return dropDown_ ? 0 : 2 * ScriptedFormWidgets::kFrame; }

void ScriptedList::Choose(int index) {
  Focus();
  if (index < 0 || index >= Count()) return;
  if (multi_ && selected_.count(index))
    selected_.erase(index);
  else if (multi_)
    selected_.insert(index);
  index_ = index;
}

// --- Memo ---

void ScriptedMemo::Type(std::u16string_view text) {
  Focus();
  lines_.clear();
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find(u'\n', start), text.size());
    lines_.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  caret_ = static_cast<int>(text.size());
}

int ScriptedMemo::ExtraWidth() const { return 2 * ScriptedFormWidgets::kFrame + ScriptedFormWidgets::kScrollBar; }

int ScriptedMemo::ExtraHeight() const {
  return 2 * ScriptedFormWidgets::kFrame + (wordWrap_ ? 0 : ScriptedFormWidgets::kScrollBar);
}

// --- Factory ---

std::string ScriptedFormWidgets::NextId(const char* kind) {
  return std::string(kind) + std::to_string(++made_);
}

std::unique_ptr<EditWidget> ScriptedFormWidgets::CreateEdit() {
  return std::make_unique<ScriptedEdit>(*this, NextId("edit"));
}

std::unique_ptr<ButtonWidget> ScriptedFormWidgets::CreateButton() {
  return std::make_unique<ScriptedButton>(*this, NextId("button"));
}

std::unique_ptr<CheckWidget> ScriptedFormWidgets::CreateCheckBox() {
  return std::make_unique<ScriptedCheckBox>(*this, NextId("check"));
}

std::unique_ptr<RadioWidget> ScriptedFormWidgets::CreateRadioButton() {
  return std::make_unique<ScriptedRadioButton>(*this, NextId("radio"));
}

std::unique_ptr<ListWidget> ScriptedFormWidgets::CreateListBox(bool multiSelect) {
  return std::make_unique<ScriptedList>(*this, NextId("list"), false, multiSelect);
}

std::unique_ptr<ListWidget> ScriptedFormWidgets::CreateDropDownList() {
  return std::make_unique<ScriptedList>(*this, NextId("combo"), true, false);
}

std::unique_ptr<MemoWidget> ScriptedFormWidgets::CreateMemo(bool wordWrap) {
  return std::make_unique<ScriptedMemo>(*this, NextId("memo"), wordWrap);
}

void ScriptedFormWidgets::MoveFocus(FormWidget* to) {
  FormWidget* from = focused_;
  if (from == to) return;
  focused_ = to;
  if (from && from->OnExit) from->OnExit();
  if (to && focused_ == to && to->OnEnter) to->OnEnter();
}

void ScriptedFormWidgets::Forget(FormWidget* widget) {
  if (focused_ == widget) focused_ = nullptr;
}

}  // namespace quillet
