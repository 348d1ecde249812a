// ThtmlPane: layout for the width, the scroll bars, scrolling by keys,
// wheel and bars, painting through a buffer, the frame.
#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

#include "platform/FlagOn.h"
#include "platform/qt/QtCanvas.h"
#include "viewer/qt/HtmlPane.h"

namespace quillet {

int ThtmlPane::BarThickness() const {
  // What the scroll area itself gives the vertical bar.
  return verticalScrollBar()->sizeHint().width();
}

int ThtmlPane::HorzPosition() const { return horizontalScrollBar()->value(); }

int ThtmlPane::MaxPosition() const { return std::max(0, docHeight_ - panelHeight_); }

void ThtmlPane::Layout() {
  maxHScroll_ = 0;
  {
    const FlagOn formatting(formatting_);
    // The frame and one pixel more; margins on both sides.
    const int allowance = borderStyle_ == htNone ? 1 : 3;
    const bool noVertical = scrollBars_ == ssNone || scrollBars_ == ssHorizontal;
    const int layoutWidth =
        width() - (noVertical ? 0 : BarThickness()) - allowance - 2 * settings_.MarginWidth;
    const PaneLayout layout = LayoutDocument(doc_, Measure(), settings_, layoutWidth);
    docHeight_ = layout.Height + (noVertical ? 1 : 2) * settings_.MarginHeight;
    maxHScroll_ = layout.MaxWidth;
  }
  lastWidth_ = width();
  ArrangeScrollBars();
}

void ThtmlPane::ArrangeScrollBars() {
  maxHScroll_ = std::min(maxHScroll_, kMaxPaneContentWidth);
  const int b = BorderWidth();
  const int W = width();
  const int H = height();
  const int t = BarThickness();
  const int content = 2 * settings_.MarginWidth + maxHScroll_;
  const bool horizontalAllowed = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  bool vWanted = false;
  bool hWanted = false;
  if (scrollBars_ == ssNone || scrollBars_ == ssHorizontal) {
    hWanted = horizontalAllowed && W < content;
  } else {
    vWanted = docHeight_ >= H - 2 || (horizontalAllowed && docHeight_ >= H - t - 2 && W - t < content);
    hWanted = horizontalAllowed && (W < content || (vWanted && W - t < content));
  }
  const int w = vWanted ? W - t : W;
  panelWidth_ = std::max(0, w - 2 * b);
  panelHeight_ = std::max(0, H - 2 * b - (hWanted ? t : 0));

  QScrollBar* h = horizontalScrollBar();
  const int range = std::max(content, w - 2 * b);
  h->setRange(0, std::max(0, range - panelWidth_));
  h->setPageStep(std::max(1, w - 20));
  h->setSingleStep(kHSmallChange);
  setHorizontalScrollBarPolicy(hWanted ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);

  QScrollBar* v = verticalScrollBar();
  v->setRange(0, MaxPosition());
  v->setPageStep(std::max(1, panelHeight_ - kVSmallChange));
  v->setSingleStep(kVSmallChange);
  setVerticalScrollBarPolicy(vWanted ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  // The range may have moved the position.
  doc_.SetYOffset(v->value());
}

void ThtmlPane::SizeChanged() {
  if (width() == lastWidth_ || busy_) {
    ArrangeScrollBars();
  } else {
    Relayout();
    lastWidth_ = width();
  }
  ScrollToY(docHeight_ < panelHeight_ ? 0 : Position());
}

void ThtmlPane::ScrollToY(int y) {
  y = std::clamp(y, 0, MaxPosition());
  verticalScrollBar()->setValue(y);
  doc_.SetYOffset(y);
  viewport()->update();
}

void ThtmlPane::ScrollBy(int dy) {
  verticalScrollBar()->setValue(std::clamp(Position() + dy, 0, MaxPosition()));
}

void ThtmlPane::scrollContentsBy(int dx, int dy) {
  doc_.SetYOffset(verticalScrollBar()->value());
  if (formatting_) return;
  // Controls on the panel are placed by the paint that shows them, and
  // animated pictures step only while a paint has drawn them where they
  // are, so with either the whole panel is painted again; otherwise the
  // pixels move and only the strip they uncover is painted.
  const bool controls = !viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty();
  const bool animations = !doc_.AnimatedGifList.empty();
  if (animations) doc_.ForgetAnimationDraws();
  if (controls || animations || std::abs(dy) >= panelHeight_ || std::abs(dx) >= panelWidth_)
    viewport()->update();
  else
    viewport()->scroll(dx, dy);
}

void ThtmlPane::keyPressEvent(QKeyEvent* e) {
  if (e->matches(QKeySequence::Copy)) {
    CopyToClipboard();
    return;
  }
  if (e->key() == Qt::Key_Menu || (e->key() == Qt::Key_F10 && e->modifiers() == Qt::ShiftModifier)) {
    ShowContextMenu(viewport()->mapToGlobal(viewport()->rect().center()), std::string());
    return;
  }
  // Alt+Left and Alt+Right step through the pages followed; the plain keys
  // scroll.
  const bool alt = e->modifiers() == Qt::AltModifier;
  if ((alt && e->key() == Qt::Key_Left) || e->key() == Qt::Key_Back) {
    Guarded([this] { GoBack(); });
    return;
  }
  if ((alt && e->key() == Qt::Key_Right) || e->key() == Qt::Key_Forward) {
    Guarded([this] { GoForward(); });
    return;
  }
  const int page = std::max(1, panelHeight_ - kVSmallChange);
  QScrollBar* h = horizontalScrollBar();
  switch (e->key()) {
    case Qt::Key_Up: ScrollBy(-kVSmallChange); break;
    case Qt::Key_Down: ScrollBy(kVSmallChange); break;
    case Qt::Key_PageUp: ScrollBy(-page); break;
    case Qt::Key_PageDown: ScrollBy(page); break;
    case Qt::Key_Home: ScrollBy(-Position()); break;
    case Qt::Key_End: ScrollBy(docHeight_); break;
    case Qt::Key_Left: h->setValue(h->value() - kHSmallChange); break;
    case Qt::Key_Right: h->setValue(h->value() + kHSmallChange); break;
    default:
      e->ignore();
      return;
  }
  e->accept();
}

bool ThtmlPane::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::Resize: {
      const bool done = QAbstractScrollArea::event(e);
      Guarded([this] { SizeChanged(); });
      return done;
    }
    case QEvent::Paint: {
      const bool done = QAbstractScrollArea::event(e);
      PaintFrame();
      return done;
    }
    case QEvent::ShortcutOverride:
      // Ctrl+C copies the selection even where the window has a shortcut.
      if (static_cast<QKeyEvent*>(e)->matches(QKeySequence::Copy)) {
        e->accept();
        return true;
      }
      break;
    default:
      break;
  }
  return QAbstractScrollArea::event(e);
}

void ThtmlPane::paintEvent(QPaintEvent* e) { PaintDocument(e->rect()); }

void ThtmlPane::PaintDocument(const QRect& exposedRect) {
  if (formatting_ || exposedRect.isEmpty()) return;
  // Form controls left to place after a scroll or a layout are placed by a
  // paint of the whole visible page, which hides the rest; Qt clips the
  // painting itself to what was exposed.
  const QRect exposed = doc_.ControlsToPlace() ? viewport()->rect() : exposedRect;
  const int yOff = doc_.YOff;
  const Rect clip{exposed.left(), exposed.top() + yOff, exposed.right() + 1, exposed.bottom() + 1 + yOff};
  const qreal ratio = viewport()->devicePixelRatioF();
  QImage buffer(exposed.size() * ratio, QImage::Format_RGB32);
  QPainter painter(viewport());
  if (buffer.isNull()) {
    // No memory for the buffer: painting straight on the panel still shows
    // the page.
    QtCanvas canvas(painter, palette_);
    canvas.SetOrigin({0, -yOff});
    quillet::PaintDocument(doc_, canvas, clip, settings_, HorzPosition());
    return;
  }
  buffer.setDevicePixelRatio(ratio);
  {
    QtCanvas canvas(buffer, palette_);
    canvas.SetOrigin({-exposed.left(), -exposed.top() - yOff});
    quillet::PaintDocument(doc_, canvas, clip, settings_, HorzPosition());
  }
  painter.drawImage(exposed.topLeft(), buffer);
}

QColor ThtmlPane::FrameColor() const {
  // The focus shows in the desktop's highlight colour.
  if (hasFocus()) return palette().color(QPalette::Highlight);
  return ToQColor(borderStyle_ == htSingle ? clBtnText : doc_.Background(), palette_);
}

void ThtmlPane::PaintFrame() {
  if (borderStyle_ == htNone) return;
  QPainter p(this);
  p.setPen(FrameColor());
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ThtmlPane::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  update();
}

void ThtmlPane::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  update();
}

void ThtmlPane::RefreshPalette() { palette_ = SystemPaletteFrom(palette()); }

void ThtmlPane::changeEvent(QEvent* e) {
  QAbstractScrollArea::changeEvent(e);
  if (e->type() == QEvent::PaletteChange || e->type() == QEvent::StyleChange) {
    RefreshPalette();
    update();
    viewport()->update();
  }
}

}  // namespace quillet
