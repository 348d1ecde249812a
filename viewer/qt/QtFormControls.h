#pragma once
// The form controls of the pane as Qt widgets, children of the pane's paint
// panel: QLineEdit, QPushButton, QCheckBox, a QRadioButton on a small panel
// of its own colour, QListWidget, a QComboBox the user cannot type into,
// and QPlainTextEdit. Controls are made hidden, in document order, so the
// Tab key moves through them as the page lists them.
//
// The panel must outlive the controls. A control that goes away hides at
// once and is deleted by the event loop, so a document may be cleared from
// within a control's own click.
#include "viewer/forms/FormWidgets.h"

class QFont;
class QWidget;

namespace quillet {

// A font of the pane as asked for: the family, points at 96 dots per inch
// (from the pixel size when the font has one), the styles.
FontSpec FontSpecFrom(const QFont& font);

class QtFormWidgets : public FormWidgetFactory {
 public:
  explicit QtFormWidgets(QWidget& panel) : panel_(panel) {}

  std::unique_ptr<EditWidget> CreateEdit() override;
  std::unique_ptr<ButtonWidget> CreateButton() override;
  std::unique_ptr<CheckWidget> CreateCheckBox() override;
  std::unique_ptr<RadioWidget> CreateRadioButton() override;
  std::unique_ptr<ListWidget> CreateListBox(bool multiSelect) override;
  std::unique_ptr<ListWidget> CreateDropDownList() override;
  std::unique_ptr<MemoWidget> CreateMemo(bool wordWrap) override;
  // The panel's font, which the controls inherit.
  FontSpec DefaultFont() const override;

 private:
  QWidget& panel_;
};

}  // namespace quillet
