// ThtmlPane: the mouse on the paint panel. Cursor shapes and hot-spot
// reports, the selection (dragged, with scrolling past the panel's edges,
// or a double-clicked word), links followed on release, image and
// right-click events, the context menu.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "platform/Path.h"
#include "platform/TextCodec.h"
#include "platform/Utf8.h"
#include "viewer/document/Navigation.h"
#include "viewer/forms/FormControls.h"
#include "viewer/layout/Section.h"
#include "viewer/qt/HtmlPane.h"
#include "viewer/text/Words.h"

namespace quillet {

int ThtmlPane::CharAt(int x, int y, bool* overText) {
  TCursorHit hit;
  const int pos = doc_.FindCursor(Measure(), DocX(x), DocY(y), hit);
  if (overText) *overText = pos >= 0 && hit.Intext;
  return pos;
}

void ThtmlPane::SetPanelCursor(Qt::CursorShape shape) {
  if (shape == panelCursor_) return;
  panelCursor_ = shape;
  viewport()->setCursor(shape);
}

void ThtmlPane::SetHot(const std::u16string& url, const std::u16string& target) {
  std::string u = Utf16ToUtf8(url);
  if (u == hotUrl_) return;
  hotUrl_ = std::move(u);
  hotTarget_ = Utf16ToUtf8(target);
  if (OnHotSpotCovered) OnHotSpotCovered(hotUrl_);
}

// ---- Qt's events ----

void ThtmlPane::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  Guarded([&] {
    PanelMouseDown(e->button(), e->modifiers(), p.x(), p.y());
    // The mouse's back and forward buttons step through the pages followed.
    if (e->button() == Qt::BackButton) GoBack();
    if (e->button() == Qt::ForwardButton) GoForward();
  });
}

void ThtmlPane::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  Guarded([&] { PanelMouseMove(e->buttons(), e->modifiers(), p.x(), p.y()); });
}

void ThtmlPane::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  Guarded([&] { PanelMouseUp(e->button(), e->modifiers(), p.x(), p.y(), e->globalPosition().toPoint()); });
}

void ThtmlPane::mouseDoubleClickEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  Guarded([&] {
    if (e->button() != Qt::LeftButton) {
      PanelMouseDown(e->button(), e->modifiers(), p.x(), p.y());
      return;
    }
    setFocus(Qt::MouseFocusReason);
    SelectWord(p.x(), p.y());
  });
}

bool ThtmlPane::viewportEvent(QEvent* e) {
  // The pointer left the panel: it is over no link any more.
  if (e->type() == QEvent::Leave && !selecting_) Guarded([this] { SetHot({}, {}); });
  return QAbstractScrollArea::viewportEvent(e);
}

void ThtmlPane::contextMenuEvent(QContextMenuEvent* e) {
  // The mouse's menu comes with the right button's release, the keyboard's
  // with its key (keyPressEvent) or here.
  if (e->reason() == QContextMenuEvent::Keyboard)
    ShowContextMenu(viewport()->mapToGlobal(viewport()->rect().center()), std::string());
  e->accept();
}

// ---- The panel's mouse ----

void ThtmlPane::PanelMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(shift, x, y);
  lastMouse_ = {x, y};
  THotSpot hot;
  TObjectHit object;
  std::u16string url, target;
  if (doc_.GetURL(Measure(), DocX(x), DocY(y), hot)) {
    SetPanelCursor(Qt::PointingHandCursor);
    if (hot.Url) {
      url = hot.Url->Url;
      target = hot.Url->Target;
    }
  } else if ((OnImageClick || OnImageOver) && doc_.PtInObject(DocX(x), DocY(y), object)) {
    SetPanelCursor(Qt::ArrowCursor);
    if (OnImageOver) OnImageOver(object.Image, shift, object.X, object.Y);
  } else {
    bool overText = false;
    CharAt(x, y, &overText);
    SetPanelCursor(overText ? cursor_ : Qt::ArrowCursor);
  }
  SetHot(url, target);

  if (!(buttons & Qt::LeftButton) || !selecting_) return;
  // A selection starts once the pointer has really moved, so that a click
  // with a shaky hand still follows its link.
  if (!dragStarted_ && (QPoint(x, y) - pressPoint_).manhattanLength() >= QApplication::startDragDistance())
    dragStarted_ = true;
  if (!autoScrolling_ && (y <= 0 || y > panelHeight_)) {
    dragStarted_ = true;
    autoScrolling_ = true;
    autoScrollTimer_.start();
  }
  if (!noSelect_ && dragStarted_) ExtendSelection(x, y);
}

void ThtmlPane::PanelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(button, shift, x, y);
  setFocus(Qt::MouseFocusReason);
  linkClicked_ = false;
  if (button != Qt::LeftButton) return;
  mouseDown_ = selecting_ = true;
  dragStarted_ = false;
  pressPoint_ = {x, y};
  THotSpot hot;
  pressOnHot_ = doc_.GetURL(Measure(), DocX(x), DocY(y), hot);
  pressControl_ = hot.FormControl;
  pressUrl_ = hot.Url ? hot.Url->Url : std::u16string();
  pressTarget_ = hot.Url ? hot.Url->Target : std::u16string();
  selAnchor_ = CharAt(x, y);
  if (selAnchor_ < 0) return;
  if (doc_.SelB != doc_.SelE) viewport()->update();
  doc_.SelB = doc_.SelE = selAnchor_;
  caretPos_ = selAnchor_;
}

void ThtmlPane::PanelMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y,
                             const QPoint& global) {
  if (OnMouseUp) OnMouseUp(button, shift, x, y);
  TObjectHit object;
  bool onImage = false;
  if (OnImageClick || OnRightClick) onImage = doc_.PtInObject(DocX(x), DocY(y), object);
  if (OnImageClick && onImage) OnImageClick(object.Image, button, shift, object.X, object.Y);

  if (button == Qt::RightButton) {
    THotSpot hot;
    const bool onLink = doc_.GetURL(Measure(), DocX(x), DocY(y), hot) && hot.Url;
    if (OnRightClick) {
      TRightClickParameters parameters;
      if (onImage) {
        parameters.Image = object.Image;
        parameters.ImageX = object.X;
        parameters.ImageY = object.Y;
      }
      if (onLink) {
        parameters.URL = Utf16ToUtf8(hot.Url->Url);
        parameters.Target = Utf16ToUtf8(hot.Url->Target);
      }
      OnRightClick(parameters);
    } else {
      ShowContextMenu(global, onLink ? Utf16ToUtf8(hot.Url->Url) : std::string());
    }
    return;
  }
  if (button != Qt::LeftButton) return;

  if (dragStarted_) ExtendSelection(x, y);
  selecting_ = false;
  StopAutoScroll();
  // A click is a press and a release on the same link without a drag
  // between them; a drag that ends on a link only selects.
  THotSpot hot;
  const auto samePlace = [&] {
    if (hot.FormControl || pressControl_) return hot.FormControl == pressControl_;
    return hot.Url && hot.Url->Url == pressUrl_ && hot.Url->Target == pressTarget_;
  };
  if (mouseDown_ && !dragStarted_ && pressOnHot_ && doc_.SelB >= doc_.SelE &&
      doc_.GetURL(Measure(), DocX(x), DocY(y), hot) && samePlace()) {
    mouseDown_ = false;
    if (hot.FormControl) {
      // An image button submits its form with the point clicked in it.
      if (auto* image = dynamic_cast<TImageFormControlObj*>(hot.FormControl)) {
        TObjectHit in;
        doc_.PtInObject(DocX(x), DocY(y), in);
        image->ImageClicked(in.X, in.Y);
      }
      return;
    }
    hotUrl_ = Utf16ToUtf8(hot.Url->Url);
    hotTarget_ = Utf16ToUtf8(hot.Url->Target);
    linkClicked_ = true;
    FollowHotSpot();
    return;
  }
  mouseDown_ = false;
}

// ---- Selection ----

void ThtmlPane::ExtendSelection(int x, int y) {
  if (!selecting_) return;
  y = std::clamp(y, 0, panelHeight_);
  const int c = CharAt(x, y);
  if (selAnchor_ < 0) {
    // A drag from blank space selects from the first text it reaches.
    if (c < 0 || noSelect_) return;
    if (doc_.SelB != doc_.SelE) viewport()->update();
    selAnchor_ = caretPos_ = c;
    doc_.SelB = doc_.SelE = c;
    return;
  }
  if (c != caretPos_ && c >= 0 && !noSelect_) {
    doc_.SelB = std::min(selAnchor_, c);
    doc_.SelE = std::max(selAnchor_, c);
    viewport()->update();
  }
  if (c >= 0) caretPos_ = c;
}

void ThtmlPane::SelectWord(int x, int y) {
  if (noSelect_ || busy_ || linkClicked_) return;
  TCursorHit hit;
  if (doc_.FindCursor(Measure(), DocX(x), DocY(y), hit) < 0 || !hit.Intext) return;
  const int pos = hit.Char;
  char16_t ch = 0;
  const TSectionBase* block = nullptr;
  if (!doc_.GetChAtPos(pos, ch, block)) return;
  const auto* section = dynamic_cast<const TSection*>(block);
  if (!section) return;
  const std::u16string_view text(section->Buff);
  size_t i = static_cast<size_t>(pos - section->StartCurs);
  if (i > 0 && IsLowSurrogate(text[i]) && IsHighSurrogate(text[i - 1])) --i;
  caretPos_ = section->StartCurs + static_cast<int>(i);
  const auto [b, e] = WordAround(text, i);
  if (b == e) return;
  doc_.SelB = section->StartCurs + static_cast<int>(b);
  doc_.SelE = section->StartCurs + static_cast<int>(e);
  viewport()->update();
}

void ThtmlPane::AutoScroll() {
  if (!autoScrolling_) {
    autoScrollTimer_.stop();
    return;
  }
  const int y = lastMouse_.y();
  if (y > 0 && y <= panelHeight_) {
    StopAutoScroll();
    return;
  }
  const int step = y < -kAutoScrollFar                  ? -8 * kVSmallChange
                   : y <= 0                             ? -kVSmallChange
                   : y > panelHeight_ + kAutoScrollFar ? 8 * kVSmallChange
                                                        : kVSmallChange;
  ScrollBy(step);
  ExtendSelection(lastMouse_.x(), y);
}

void ThtmlPane::StopAutoScroll() {
  autoScrolling_ = false;
  autoScrollTimer_.stop();
}

// ---- Links ----

bool ThtmlPane::AskHotSpotClick() {
  bool handled = false;
  if (OnHotSpotClick) OnHotSpotClick(hotUrl_, handled);
  return handled;
}

void ThtmlPane::FollowHotSpot() {
  if (AskHotSpotClick()) return;
  const TReadingPosition oldPos = ReadingPosition();
  if (!hotUrl_.empty() && hotUrl_[0] == '#') {
    if (PositionToAnchor(hotUrl_)) BumpHistory(currentFile_, Title(), fileKind_, oldPos);
    return;
  }
  const auto hash = hotUrl_.find('#');
  std::string anchor = hash == std::string::npos ? std::string() : hotUrl_.substr(hash);
  anchor.resize(Utf8CutLength(anchor, kMaxAnchorLength + 1));
  const std::string link = ExpandLinkPath(hotUrl_.substr(0, hash));
  if (const LinkKind kind = LinkKindOf(link); kind != LinkKind::Page) {
    if (kind == LinkKind::Picture) LoadImageFile(link);
    return;
  }
  // The host's lines stand for the file they belong to: a link to that
  // file's anchor scrolls within them.
  const std::string shown = currentFile_.empty() && DocumentPath ? DocumentPath() : currentFile_;
  if (link != shown)
    LoadFromFile(link + anchor);
  else if (PositionToAnchor(anchor))
    BumpHistory(currentFile_, Title(), TFileKind::fkHTML, oldPos);
}

// ---- Context menu ----

void ThtmlPane::ShowContextMenu(const QPoint& global, const std::string& link) {
  // The menu key may come both as a key and as the system's menu request.
  for (const QMenu* shown : findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
    if (shown->isVisible()) return;
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  QAction* copy = menu->addAction(tr("&Copy"), this, [this] { CopyToClipboard(); });
  copy->setShortcut(QKeySequence::Copy);
  copy->setEnabled(doc_.SelB < doc_.SelE);
  if (!link.empty()) {
    menu->addAction(tr("Copy &Link Address"), this,
                    [link] { QGuiApplication::clipboard()->setText(QString::fromStdString(link)); });
  }
  menu->popup(global);
}

}  // namespace quillet
