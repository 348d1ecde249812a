#pragma once
// The controls of HTML forms: one object per INPUT, SELECT or TEXTAREA,
// owned by its form (viewer/forms/Forms.h), each driving a windowed control
// through the port of viewer/forms/FormWidgets.h (hidden fields and image buttons
// have none). An object knows its initial state, its size for the layout,
// and the "name=value" pairs it adds to a submission.
//
// The text layout owns the placing: it reads Width(), Height() and
// AlignFlag, sets LayoutX and YValue to where the control lies on its line,
// and each paint calls PlaceAt for the controls it shows (which marks them
// Shown).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "viewer/forms/FormWidgets.h"
#include "viewer/text/Attributes.h"

namespace quillet {

class FormHost;
class ThtmlForm;
class TCell;      // a radio button's table cell, viewer/layout/Cell.h
class TImageObj;  // an image button's picture, viewer/layout/ImageObj.h

class TFormControlObj {
 public:
  // Controls wait out of view at this y until the layout places them.
  static constexpr int kWaitingTop = -400;

  // Takes VALUE and NAME; the form adds the control to its list.
  TFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos);
  virtual ~TFormControlObj();
  TFormControlObj(const TFormControlObj&) = delete;
  TFormControlObj& operator=(const TFormControlObj&) = delete;

  ThtmlForm& Form() const { return form_; }
  FormHost& Host() const;

  // Character index of the control's placeholder in its text section.
  int Pos;
  std::u16string Value;
  std::u16string Name;
  // 1 for check boxes and radio buttons, 0 for the others; the line
  // layout reads it with the height.
  int AlignFlag = 0;
  // The last paint placed the control on the visible page (cleared when
  // the document scrolls).
  bool Shown = false;
  // Where the last layout put the control: its left edge relative to its
  // cell, and its top as a document y.
  int LayoutX = 0;
  int YValue = 0;

  // A short name of the control's kind for dumps: "edit", "button",
  // "checkbox", "radio", "hidden", "image", "listbox", "combo", "textarea".
  virtual std::string_view KindName() const = 0;

  // Hidden fields are not counted as the form's controls and have no
  // place in the text.
  virtual bool IsHidden() const { return false; }
  // The windowed control; none for hidden fields and image buttons.
  FormWidget* Widget() const { return widget_.get(); }
  // The control that takes the focus.
  virtual FormWidget* FocusControl() const { return widget_.get(); }
  int Width() const { return widget_ ? widget_->Width() : 0; }
  int Height() const { return widget_ ? widget_->Height() : 0; }
  // Shows the control at (x, y) in the paint panel and marks it Shown.
  void PlaceAt(int x, int y);

  // Back to the state the page gave it.
  virtual void RestoreInitial() {}
  // The pair at index (0, 1, 2 ... until false); true with an empty text
  // adds nothing.
  virtual bool SubmissionPair(int index, std::u16string& text);
  // Sizes the windowed control, measuring with the canvas.
  virtual void FitSize(Canvas& canvas);

  // The control's text font: the document's preformatted font at 10 points.
  FontSpec PreFont() const;

 protected:
  // Keeps the windowed control, sets it waiting out of view and reports
  // its focus changes to the document.
  template <class W>
  W* Adopt(std::unique_ptr<W> widget) {
    W* w = widget.get();
    widget_ = std::move(widget);
    Connect(*widget_);
    return w;
  }
  // OnObjectClick with the ONCLICK text; false when the handler took the
  // control away (the document was cleared), so the caller stops.
  bool RaiseObjectClick(const std::u16string& onClick);

 private:
  void Connect(FormWidget& widget);

  ThtmlForm& form_;
  std::unique_ptr<FormWidget> widget_;
  // Lets a handler that clears the document be noticed by the control
  // that called it.
  std::shared_ptr<char> life_ = std::make_shared<char>();
};

// INPUT of TYPE text or password, no TYPE, or a TYPE not known.
class TEditFormControlObj : public TFormControlObj {
 public:
  static constexpr int kDefaultSize = 20;
  static constexpr int kHeight = 20;
  static constexpr int kInitialWidth = 120;

  TEditFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos, bool password);

  // Width in characters.
  int EditSize = kDefaultSize;
  // TYPE password: every character shows as "*".
  bool Password;
  EditWidget& Edit() const { return *edit_; }
  std::string_view KindName() const override { return "edit"; }

  void RestoreInitial() override;
  bool SubmissionPair(int index, std::u16string& text) override;
  void FitSize(Canvas& canvas) override;

 private:
  EditWidget* edit_;
};

// INPUT of TYPE submit, reset or button.
class TButtonFormControlObj : public TFormControlObj {
 public:
  enum class Kind : uint8_t { Submit, Reset, Plain };

  TButtonFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos, Kind kind);

  Kind ButtonKind;
  std::u16string OnClickText;
  ButtonWidget& Button() const { return *button_; }
  std::string_view KindName() const override { return "button"; }

  void FitSize(Canvas& canvas) override;
  // A push: OnObjectClick, then reset or submit the form.
  void Clicked();

 private:
  ButtonWidget* button_;
};

// INPUT TYPE checkbox: 13 x 13.
class TCheckBoxFormControlObj : public TFormControlObj {
 public:
  TCheckBoxFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos);

  bool InitialChecked;
  std::u16string OnClickText;
  CheckWidget& Box() const { return *box_; }
  std::string_view KindName() const override { return "checkbox"; }

  void RestoreInitial() override;
  bool SubmissionPair(int index, std::u16string& text) override;

 private:
  CheckWidget* box_;
};

// INPUT TYPE radio: a button on a 13 x 14 panel.
class TRadioButtonFormControlObj : public TFormControlObj {
 public:
  TRadioButtonFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos, TCell* cell);

  bool InitialChecked;
  std::u16string OnClickText;
  // The table cell it stands in (none at the document's top level); its
  // panel takes the cell's background colour when drawn.
  TCell* Cell;
  RadioWidget& Radio() const { return *radio_; }
  std::string_view KindName() const override { return "radio"; }
  // The colour of the button's panel, which each paint sets.
  void SetBackground(TColor color) {
    background_ = color;
    radio_->SetBackground(color);
  }
  TColor Background() const { return background_; }

  void RestoreInitial() override;
  bool SubmissionPair(int index, std::u16string& text) override;
  // A click: the others of its group are unchecked, then OnObjectClick.
  void Clicked();

 private:
  RadioWidget* radio_;
  TColor background_ = clBtnFace;
};

// INPUT TYPE hidden: only a pair for the submission.
class THiddenFormControlObj : public TFormControlObj {
 public:
  using TFormControlObj::TFormControlObj;
  bool IsHidden() const override { return true; }
  std::string_view KindName() const override { return "hidden"; }
  bool SubmissionPair(int index, std::u16string& text) override;
};

// INPUT TYPE image: a picture in the text that submits the form with the
// point clicked in it.
class TImageFormControlObj : public TFormControlObj {
 public:
  using TFormControlObj::TFormControlObj;

  // The picture standing for it, set by the text section.
  TImageObj* MyImage = nullptr;
  // The point clicked in the picture, -1 when none.
  int XClick = -1;
  int YClick = -1;
  std::string_view KindName() const override { return "image"; }

  bool SubmissionPair(int index, std::u16string& text) override;
  // A click at (x, y) inside the picture submits the form.
  void ImageClicked(int x, int y);
};

// One OPTION of a SELECT.
struct TSelectOption {
  std::u16string Text;
  std::u16string Value;
  bool Selected = false;
  bool operator==(const TSelectOption&) const = default;
};

// SELECT with MULTIPLE or a SIZE above 1. The parser adds the options, then
// calls RestoreInitial to fill the list.
class TListBoxFormControlObj : public TFormControlObj {
 public:
  static constexpr size_t kMaxOptionText = 80;
  static constexpr int kMinLongest = 3;
  static constexpr int kMaxDefaultRows = 8;

  TListBoxFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos);

  std::vector<TSelectOption> Options;
  // Rows shown: SIZE, -1 when absent (the first sizing picks it).
  int ListSize = -1;
  // Characters of the longest option text, at least kMinLongest.
  int LongestOpt = kMinLongest;
  ListWidget& List() const { return *list_; }
  std::string_view KindName() const override { return "listbox"; }

  // Text and value are cut to kMaxOptionText characters.
  void AddOption(std::u16string_view text, std::u16string_view value, bool selected);

  void RestoreInitial() override;
  bool SubmissionPair(int index, std::u16string& text) override;
  void FitSize(Canvas& canvas) override;

 protected:
  // For the drop-down list, which shares the options.
  TListBoxFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos,
                         std::unique_ptr<ListWidget> list);
  // The pair of option index, or an empty text.
  void OptionPair(int index, std::u16string& text) const;
  ListWidget* list_;
};

// Any other SELECT: a drop-down list.
class TComboFormControlObj : public TListBoxFormControlObj {
 public:
  TComboFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos);
  std::string_view KindName() const override { return "combo"; }

  void RestoreInitial() override;
  bool SubmissionPair(int index, std::u16string& text) override;
  void FitSize(Canvas& canvas) override;
};

// TEXTAREA. The parser adds the lines, then calls RestoreInitial.
class TTextAreaFormControlObj : public TFormControlObj {
 public:
  static constexpr int kDefaultRows = 5;
  static constexpr int kDefaultCols = 30;

  TTextAreaFormControlObj(ThtmlForm& form, const TAttributeList& attributes, int pos);

  int Rows = kDefaultRows;
  int Cols = kDefaultCols;
  // WRAP soft or hard.
  bool WordWrap = false;
  std::vector<std::u16string> InitialLines;
  MemoWidget& Memo() const { return *memo_; }
  std::string_view KindName() const override { return "textarea"; }

  void AddLine(std::u16string_view line) { InitialLines.emplace_back(line); }

  void RestoreInitial() override;
  bool SubmissionPair(int index, std::u16string& text) override;
  void FitSize(Canvas& canvas) override;

 private:
  MemoWidget* memo_;
  // The lines being submitted, read once per submission.
  std::vector<std::u16string> submitting_;
};

// At most n characters of text, never half of a surrogate pair: the
// attribute texts the forms keep cut.
std::u16string_view CutText(std::u16string_view text, size_t n);

// The control an INPUT, SELECT or TEXTAREA tag makes in form: TYPE read in
// lower case on its first 20 characters. Not added to the form; null for
// any other tag.
std::unique_ptr<TFormControlObj> CreateFormControl(ThtmlForm& form, Sy tag, const TAttributeList& attributes,
                                                   int pos, TCell* cell);

}  // namespace quillet
