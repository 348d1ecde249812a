#include "viewer/qt/QtFormControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFont>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextCursor>
#include <QValidator>

#include "platform/qt/QtCanvas.h"

namespace quillet {

namespace {

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string FromQString(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}

// Calls a handler through a copy: the handler may clear the document and so
// free the control, and the std::function with it, while it runs.
void Fire(const std::function<void()>& handler) {
  if (!handler) return;
  const std::function<void()> copy = handler;
  copy();
}

// Passes the focus moving into and out of a control on to the port's
// events. The window losing or regaining activation, and a popup such as
// a drop-down's list, move no focus between the page's controls.
class FocusHooks : public QObject {
 public:
  explicit FocusHooks(FormWidget& port) : port_(port) {}

  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::FocusIn && type != QEvent::FocusOut) return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    Fire(type == QEvent::FocusIn ? port_.OnEnter : port_.OnExit);
    return false;
  }

 private:
  FormWidget& port_;
};

// What every control shares: W is the widget placed on the panel, focus
// the one that takes the focus (the same but for a radio button's panel).
template <class Port, class W>
class QtControl : public Port {
 public:
  QtControl(W* widget, QWidget* focus) : w_(widget), focus_(focus), hooks_(std::make_unique<FocusHooks>(*this)) {
    widget->hide();
    focus->installEventFilter(hooks_.get());
  }
  explicit QtControl(W* widget) : QtControl(widget, widget) {}

  ~QtControl() override {
    // No more events for a port that is going; the focus goes back to the
    // panel rather than on to the next of the controls going with it.
    hooks_.reset();
    if (!w_) return;
    const QWidget* focused = QApplication::focusWidget();
    if (focused && (focused == w_ || w_->isAncestorOf(focused)) && w_->parentWidget())
      w_->parentWidget()->setFocus(Qt::OtherFocusReason);
    w_->hide();
    w_->deleteLater();
  }

  void SetVisible(bool visible) override { w_->setVisible(visible); }
  bool Visible() const override { return !w_->isHidden(); }
  void Move(int left, int top) override { w_->move(left, top); }
  void Resize(int width, int height) override { w_->resize(width, height); }
  void SetClientSize(int width, int height) override { Resize(width, height); }
  Rect Bounds() const override {
    const QRect g = w_->geometry();
    return {g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
  }
  void SetFont(const FontSpec& font) override { w_->setFont(MakeQFont(font)); }
  void SetFocus() override { focus_->setFocus(Qt::OtherFocusReason); }
  bool Focused() const override { return focus_->hasFocus(); }

 protected:
  // Connections live as long as the port's events do.
  QObject* Context() const { return hooks_.get(); }
  int ScrollBarExtent() const { return w_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w_); }

  QPointer<W> w_;
  QWidget* focus_;

 private:
  std::unique_ptr<FocusHooks> hooks_;
};

// MAXLENGTH limits typing only: an edit is refused when it makes the text
// longer than the limit and longer than it was, so a longer VALUE stays
// whole and can still be shortened.
class TypingLimit : public QValidator {
 public:
  TypingLimit(QLineEdit& edit, int limit) : QValidator(&edit), limit_(limit), before_(edit.text().size()) {
    // Qt validates an edit before it announces it: the length announced
    // last is the text's length before the edit.
    connect(&edit, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text.size(); });
  }
  // A text the program sets is valid whatever its length (Qt would not
  // refuse it, but would stop refusing typing after it).
  void Allow(qsizetype length) { before_ = std::max(before_, length); }
  State validate(QString& input, int&) const override {
    return input.size() <= limit_ || input.size() <= before_ ? Acceptable : Invalid;
  }

 private:
  int limit_;
  qsizetype before_;
};

class QtEdit : public QtControl<EditWidget, QLineEdit> {
 public:
  explicit QtEdit(QWidget& panel) : QtControl(new QLineEdit(&panel)) {
    QObject::connect(w_.data(), &QLineEdit::returnPressed, Context(), [this] { Fire(OnReturnKey); });
  }
  std::u16string Text() const override { return FromQString(w_->text()); }
  void SetText(std::u16string_view text) override {
    if (limit_) limit_->Allow(static_cast<qsizetype>(text.size()));
    w_->setText(ToQString(text));
  }
  void SetMaxLength(int length) override {
    delete limit_;
    limit_ = length > 0 ? new TypingLimit(*w_, length) : nullptr;
    w_->setValidator(limit_);
  }
  void SetPasswordChar(char16_t c) override {
    w_->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
    w_->setStyleSheet(c ? QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(int(c)) : QString());
  }

 private:
  QPointer<TypingLimit> limit_;
};

class QtButton : public QtControl<ButtonWidget, QPushButton> {
 public:
  explicit QtButton(QWidget& panel) : QtControl(new QPushButton(&panel)) {
    w_->setAutoDefault(false);
    QObject::connect(w_.data(), &QPushButton::clicked, Context(), [this] { Fire(OnClick); });
  }
  std::u16string Caption() const override { return caption_; }
  void SetCaption(std::u16string_view caption) override {
    caption_ = caption;
    // "&" would mark a shortcut key.
    w_->setText(ToQString(caption).replace(QLatin1Char('&'), QLatin1String("&&")));
  }

 private:
  std::u16string caption_;
};

class QtCheckBox : public QtControl<CheckWidget, QCheckBox> {
 public:
  explicit QtCheckBox(QWidget& panel) : QtControl(new QCheckBox(&panel)) {
    // The box fills the control, which is smaller than the style's own.
    w_->setStyleSheet(QStringLiteral("QCheckBox::indicator { width: 13px; height: 13px; }"));
    QObject::connect(w_.data(), &QCheckBox::clicked, Context(), [this] { Fire(OnClick); });
  }
  bool Checked() const override { return w_->isChecked(); }
  void SetChecked(bool checked) override { w_->setChecked(checked); }
};

// A click or Space always checks it; only the form unchecks it.
class AlwaysChecks : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void nextCheckState() override { setChecked(true); }
};

class QtRadio : public QtControl<RadioWidget, QWidget> {
 public:
  explicit QtRadio(QWidget& panel) : QtRadio(new QWidget(&panel)) {}

  bool Checked() const override { return button_->isChecked(); }
  void SetChecked(bool checked) override { button_->setChecked(checked); }
  void Resize(int width, int height) override {
    w_->resize(width, height);
    button_->setGeometry(0, 0, width, height);
  }
  // Every paint sets it; only a change repaints the panel.
  void SetBackground(TColor color) override {
    const QWidget* parent = w_->parentWidget();
    const QColor wanted = ToQColor(color, SystemPaletteFrom(parent ? parent->palette() : QApplication::palette()));
    if (w_->palette().color(QPalette::Window) == wanted && w_->testAttribute(Qt::WA_SetPalette)) return;
    QPalette palette = w_->palette();
    palette.setColor(QPalette::Window, wanted);
    w_->setPalette(palette);
  }

 private:
  explicit QtRadio(QWidget* box) : QtControl(box, new AlwaysChecks(box)) {
    button_ = static_cast<QRadioButton*>(focus_);
    button_->setAutoExclusive(false);
    w_->setAutoFillBackground(true);
    SetBackground(clBtnFace);
    QObject::connect(button_, &QRadioButton::clicked, Context(), [this] { Fire(OnClick); });
  }

  QRadioButton* button_;
};

class QtListBox : public QtControl<ListWidget, QListWidget> {
 public:
  QtListBox(QWidget& panel, bool multiSelect) : QtControl(new QListWidget(&panel)), multi_(multiSelect) {
    w_->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    w_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  }

  bool MultiSelect() const override { return multi_; }
  void SetItems(const std::vector<std::u16string>& items) override {
    w_->clear();
    for (const std::u16string& text : items) new QListWidgetItem(ToQString(text), w_);
    FitItems();
  }
  int Count() const override { return w_->count(); }
  int ItemIndex() const override {
    if (multi_) return w_->currentRow();
    const QList<QListWidgetItem*> selected = w_->selectedItems();
    return selected.isEmpty() ? -1 : w_->row(selected.first());
  }
  void SetItemIndex(int index) override {
    const QModelIndex at = index >= 0 && index < Count() ? w_->model()->index(index, 0) : QModelIndex();
    w_->selectionModel()->setCurrentIndex(
        at, multi_ ? QItemSelectionModel::NoUpdate : QItemSelectionModel::ClearAndSelect);
  }
  bool Selected(int index) const override {
    if (!multi_) return index >= 0 && ItemIndex() == index;
    const QListWidgetItem* item = w_->item(index);
    return item && item->isSelected();
  }
  void SetSelected(int index, bool selected) override {
    if (QListWidgetItem* item = w_->item(index); item && multi_) item->setSelected(selected);
  }
  void SetTopIndex(int index) override {
    if (QListWidgetItem* item = w_->item(index)) w_->scrollToItem(item, QAbstractItemView::PositionAtTop);
  }
  void SetFont(const FontSpec& font) override {
    QtControl::SetFont(font);
    FitItems();
  }
  void SetClientSize(int width, int height) override {
    const int frame = w_->frameWidth();
    const bool bar = static_cast<long long>(RowHeight()) * Count() > height;
    Resize(width + 2 * frame + (bar ? ScrollBarExtent() : 0), height + 2 * frame);
  }

 private:
  int RowHeight() const { return QFontMetrics(w_->font()).height(); }
  // Rows as tall as the font, so that a box sized for n rows shows n.
  void FitItems() {
    const QFontMetrics metrics(w_->font());
    for (int i = 0; i < w_->count(); ++i) {
      QListWidgetItem* item = w_->item(i);
      item->setSizeHint(QSize(metrics.horizontalAdvance(item->text()) + 6, metrics.height()));
    }
  }

  bool multi_;
};

class QtDropDown : public QtControl<ListWidget, QComboBox> {
 public:
  explicit QtDropDown(QWidget& panel) : QtControl(new QComboBox(&panel)) {
    w_->setEditable(false);
    FitHeight();
  }

  bool MultiSelect() const override { return false; }
  void SetItems(const std::vector<std::u16string>& items) override {
    w_->clear();
    for (const std::u16string& text : items) w_->addItem(ToQString(text));
    w_->setCurrentIndex(-1);
  }
  int Count() const override { return w_->count(); }
  int ItemIndex() const override { return w_->currentIndex(); }
  void SetItemIndex(int index) override { w_->setCurrentIndex(index >= 0 && index < Count() ? index : -1); }
  bool Selected(int index) const override { return index >= 0 && index == ItemIndex(); }
  void SetSelected(int, bool) override {}
  void SetTopIndex(int) override {}
  void SetFont(const FontSpec& font) override {
    QtControl::SetFont(font);
    FitHeight();
  }
  void SetClientSize(int width, int) override { Resize(width, w_->sizeHint().height()); }

 private:
  void FitHeight() { Resize(w_->width(), w_->sizeHint().height()); }
};

class QtMemo : public QtControl<MemoWidget, QPlainTextEdit> {
 public:
  QtMemo(QWidget& panel, bool wordWrap) : QtControl(new QPlainTextEdit(&panel)), wordWrap_(wordWrap) {
    // Tab moves on to the next control, as everywhere else on the page.
    w_->setTabChangesFocus(true);
    w_->setLineWrapMode(wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    w_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    w_->setHorizontalScrollBarPolicy(wordWrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  }

  std::vector<std::u16string> Lines() const override {
    std::vector<std::u16string> lines;
    const QString text = w_->toPlainText();
    qsizetype start = 0;
    while (start < text.size()) {
      qsizetype end = text.indexOf(QLatin1Char('\n'), start);
      if (end < 0) end = text.size();
      lines.push_back(FromQString(text.mid(start, end - start)));
      start = end + 1;
    }
    return lines;
  }
  void SetLines(const std::vector<std::u16string>& lines) override {
    // Every line ends with a line end, so an empty last line is kept.
    QString text;
    for (const std::u16string& line : lines) text += ToQString(line) + QLatin1Char('\n');
    w_->setPlainText(text);
  }
  void MoveCaretToStart() override {
    QTextCursor cursor = w_->textCursor();
    cursor.movePosition(QTextCursor::Start);
    w_->setTextCursor(cursor);
    w_->verticalScrollBar()->setValue(0);
    w_->horizontalScrollBar()->setValue(0);
  }
  void SetClientSize(int width, int height) override {
    const int frame = w_->frameWidth();
    const int bar = ScrollBarExtent();
    Resize(width + 2 * frame + bar, height + 2 * frame + (wordWrap_ ? 0 : bar));
  }

 private:
  bool wordWrap_;
};

}  // namespace

FontSpec FontSpecFrom(const QFont& font) {
  FontSpec spec;
  spec.Face = FromQString(font.family());
  spec.Size = font.pixelSize() > 0 ? (font.pixelSize() * 72 + 48) / 96 : qRound(font.pointSizeF());
  spec.Size = std::max(spec.Size, 1);
  spec.Bold = font.bold();
  spec.Italic = font.italic();
  spec.Underline = font.underline();
  spec.StrikeOut = font.strikeOut();
  return spec;
}

std::unique_ptr<EditWidget> QtFormWidgets::CreateEdit() { return std::make_unique<QtEdit>(panel_); }

std::unique_ptr<ButtonWidget> QtFormWidgets::CreateButton() {
  auto button = std::make_unique<QtButton>(panel_);
  // The caption is measured in this font, so it is shown in exactly it.
  button->SetFont(DefaultFont());
  return button;
}

std::unique_ptr<CheckWidget> QtFormWidgets::CreateCheckBox() { return std::make_unique<QtCheckBox>(panel_); }

std::unique_ptr<RadioWidget> QtFormWidgets::CreateRadioButton() { return std::make_unique<QtRadio>(panel_); }

std::unique_ptr<ListWidget> QtFormWidgets::CreateListBox(bool multiSelect) {
  return std::make_unique<QtListBox>(panel_, multiSelect);
}

std::unique_ptr<ListWidget> QtFormWidgets::CreateDropDownList() { return std::make_unique<QtDropDown>(panel_); }

std::unique_ptr<MemoWidget> QtFormWidgets::CreateMemo(bool wordWrap) {
  return std::make_unique<QtMemo>(panel_, wordWrap);
}

FontSpec QtFormWidgets::DefaultFont() const { return FontSpecFrom(panel_.font()); }

}  // namespace quillet
