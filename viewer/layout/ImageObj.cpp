#include "viewer/layout/ImageObj.h"

#include <algorithm>
#include <new>

#include "platform/AsciiCase.h"
#include "platform/TextCodec.h"
#include "viewer/images/PlaceholderPictures.h"
#include "viewer/layout/SectionList.h"
#include "viewer/style/Bevel.h"
#include "viewer/style/Fonts.h"

namespace quillet {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The font placeholders are sized and labelled with.
FontSpec AltFont(TColor color) {
  FontSpec f;
  f.Face = u"Arial";
  f.Size = 8;
  f.Color = color;
  return f;
}

int Clamp(int64_t v, int lo) { return static_cast<int>(std::clamp<int64_t>(v, lo, TImageObj::kMaxSide)); }

}  // namespace

TImageObj::TImageObj(int pos, const TAttributeList& attributes, TCell* cell) : Pos(pos), Cell(cell) {
  for (const TAttribute& a : attributes) {
    switch (a.Code) {
      case Sy::Src:
        Source = a.Text;
        break;
      case Sy::Alt:
        Alt = a.Text;
        break;
      case Sy::Align: {
        const std::u16string v = UpperAscii(a.Text);
        if (v == u"TOP")
          Align = ImageAlign::Top;
        else if (v == u"MIDDLE" || v == u"ABSMIDDLE")
          Align = ImageAlign::Middle;
        else if (v == u"LEFT")
          Align = ImageAlign::Left;
        else if (v == u"RIGHT")
          Align = ImageAlign::Right;
        else
          Align = ImageAlign::Bottom;
        break;
      }
      case Sy::Border:
        NoBorder = a.Number == 0;
        break;
      case Sy::Width:
        PercentWidth = a.Text.find(u'%') != std::u16string::npos && a.Number >= 1 && a.Number <= 100;
        // A width of nothing, or less, is no width.
        SpecWidth = a.Number > 0 ? std::min<int>(a.Number, kMaxSide) : 0;
        break;
      case Sy::Height:
        SpecHeight = std::clamp<int32_t>(a.Number, 1, kMaxSide);
        break;
      case Sy::Transp:
        Transparent = true;
        break;
      case Sy::IsMap:
        IsMap = true;
        break;
      case Sy::UseMap: {
        UsesMap = true;
        std::u16string name = UpperAscii(Trim(a.Text));
        if (name.size() > 1 && name.front() == u'#') name.erase(0, 1);
        MapName = std::move(name);
        break;
      }
      case Sy::HSpace: {
        const int64_t h = a.Number;
        HSpace = static_cast<int>(std::min<int64_t>(h < 0 ? -h : h, kMaxHSpace));
        break;
      }
      default:
        break;
    }
  }
}

TImageObj::~TImageObj() = default;

// ---------------------------------------------------------------- picture

void TImageObj::Fetch(TSectionList& doc) {
  if (!Trim(Source).empty()) Source = doc.PictureName(Source);
  const std::u16string key = TStringBitmapList::KeyOf(Source);
  if (!key.empty() && doc.IsAwaited(key)) {
    state_ = State::Awaited;
    doc.MissingImageList.push_back({key, this});
    return;
  }
  TFetchedImage fetched = doc.FetchImage(Source, Transparent);
  if (fetched.Delayed) {
    state_ = State::Awaited;
    doc.MissingImageList.push_back({key, this});
    return;
  }
  if (!fetched.Found()) {
    state_ = State::Broken;
    return;
  }
  std::shared_ptr<TGIFImage> gif = std::move(fetched.Gif);
  if (gif && fetched.FromCache) {
    // Each image animates on its own; the first to load a GIF animates the
    // cache's, later ones a copy, which composes into a picture of its own:
    // a broken picture when the document has no room or memory for it.
    if (!doc.PictureBudget().Take({{nullptr, Picture::BytesFor(gif->Width(), gif->Height())}})) {
      state_ = State::Broken;
      return;
    }
    try {
      gif = std::shared_ptr<TGIFImage>(gif->Copy());
    } catch (const std::bad_alloc&) {
      state_ = State::Broken;
      return;
    }
  }
  state_ = State::Loaded;
  kind_ = fetched.Kind;
  lease_ = std::move(fetched.Lease);
  if (gif) {
    gif_ = std::move(gif);
    doc.AnimatedGifList.push_back(gif_.get());
  } else {
    pic_ = std::move(fetched.Pic);
  }
}

TImageObj::Showing TImageObj::Shows(const TSectionList& doc) const {
  if (!doc.ShowImages) return Showing::ImagesOff;
  switch (state_) {
    case State::NotFetched: return Showing::ImagesOff;
    case State::Awaited: return Showing::Awaited;
    case State::Broken: return Showing::Broken;
    case State::Loaded: break;
  }
  if (gif_) return Showing::Animation;
  return pic_ ? Showing::Picture : Showing::Nothing;
}

bool TImageObj::ShowsPlaceholder(const TSectionList& doc) const {
  const Showing s = Shows(doc);
  return s != Showing::Picture && s != Showing::Animation;
}

const Picture* TImageObj::CurrentPicture() const {
  if (gif_) return &gif_->Composed();
  return pic_.get();
}

void TImageObj::NaturalSize(const TSectionList& doc, int& w, int& h) const {
  w = h = kPlaceholderSide;
  switch (Shows(doc)) {
    case Showing::Picture:
      w = pic_->Width;
      h = pic_->Height;
      break;
    case Showing::Animation:
      w = gif_->Width();
      h = gif_->Height();
      break;
    default:
      break;
  }
  // An empty picture still takes a pixel, so that sides can be scaled.
  w = std::max(w, 1);
  h = std::max(h, 1);
}

// ---------------------------------------------------------------- sizing

void TImageObj::Size(TSectionList& doc, Canvas& canvas, int availableWidth, const TFontObj& run) {
  // Turning pictures on or off changes what is shown, so the box too.
  if (!sizedOnce_ || sizedWithImages_ != doc.ShowImages) {
    SizeFixed = false;
    sizedOnce_ = true;
    sizedWithImages_ = doc.ShowImages;
  }
  if (doc.ShowImages && state_ == State::NotFetched) Fetch(doc);

  if (!SizeFixed) {
    const bool placeholder = ShowsPlaceholder(doc);
    int nw = 0, nh = 0;
    NaturalSize(doc, nw, nh);
    const int percentWidth = Clamp(int64_t{std::max(availableWidth, 0)} * SpecWidth / 100, 0);
    int w = nw, h = nh;
    if (placeholder) {
      if (SpecWidth > 0 && SpecHeight > 0) {
        h = SpecHeight;
        // A percentage stays one, pictures on or off.
        w = PercentWidth ? percentWidth : SpecWidth;
        SizeFixed = !PercentWidth;
      }
    } else if (PercentWidth) {
      w = percentWidth;
      h = SpecHeight > 0 ? SpecHeight : nh;
    } else {
      if (SpecWidth > 0 && SpecHeight > 0) {
        w = SpecWidth;
        h = SpecHeight;
      } else if (SpecHeight > 0) {
        h = SpecHeight;
        w = Clamp(int64_t{h} * nw / nh, 1);
      } else if (SpecWidth > 0) {
        w = SpecWidth;
        h = Clamp(int64_t{w} * nh / nw, 1);
      }
      SizeFixed = true;
    }
    if (placeholder && !SizeFixed) {
      // Grown to hold the placeholder picture and the alt text beside it.
      canvas.SelectFont(AltFont(clBlack));
      w = std::max(w, Clamp(int64_t{canvas.TextWidth(Alt)} + 2 + kAltTextLeft, 0));
      h = std::max(h, std::max(kMinPlaceholderBox, canvas.Metrics().Height));
    }
    ObjWidth = w;
    ObjHeight = h;
  }
  HasBorder = run.UrlTarget.IsLink() && !NoBorder;
  const int frame = HasBorder ? 2 : 0;
  ImageWidth = ObjWidth + frame;
  ImageHeight = ObjHeight + frame;
}

int TImageObj::TopOnLine(int lineTop, int baseline, int fontDescent, int fontHeight) const {
  switch (Align) {
    case ImageAlign::Middle: return baseline + fontDescent - fontHeight / 2 - ImageHeight / 2;
    case ImageAlign::Bottom: return baseline - ImageHeight;
    default: return lineTop;
  }
}

bool TImageObj::Holds(int x, int y, int& ix, int& iy) const {
  if (x < LayoutX || x >= LayoutX + ImageWidth || y < LayoutY || y >= LayoutY + ImageHeight) return false;
  const int frame = HasBorder ? 1 : 0;
  ix = std::clamp(x - LayoutX - frame, 0, std::max(ObjWidth - 1, 0));
  iy = std::clamp(y - LayoutY - frame, 0, std::max(ObjHeight - 1, 0));
  return true;
}

// ---------------------------------------------------------------- drawing

void TImageObj::Draw(Canvas& canvas, const TSectionList& doc, int x, int top, const TFontObj& run) {
  DrawX = x;
  DrawY = top;
  if (ImageWidth <= 0 || ImageHeight <= 0) return;
  const Showing shows = Shows(doc);
  const bool placeholder = ShowsPlaceholder(doc);
  const int frame = HasBorder ? 1 : 0;
  const int inset = placeholder ? kPlaceholderInset : 0;
  // The run's colour: the text's, or the link's inside a link.
  const TColor color = run.Font().Spec.Color;

  // Placeholder pictures only where the box has room for them.
  if (!placeholder || (ObjWidth >= kMinPlaceholderBox && ObjHeight >= kMinPlaceholderBox)) {
    const int px = x + inset + frame;
    const int py = top + inset + frame;
    const Rect box{px, py, px + ObjWidth, py + ObjHeight};
    const Rect natural{px, py, px + kPlaceholderSide, py + kPlaceholderSide};
    const TStringBitmapList& cache = doc.ImageCache();
    switch (shows) {
      case Showing::Picture:
        canvas.DrawPicture(*pic_, box);
        break;
      case Showing::Animation:
        if (const Picture* frameNow = gif_->RecordDraw(px, py, ObjWidth, ObjHeight))
          canvas.DrawPicture(*frameNow, box);
        break;
      case Showing::Broken:
        canvas.DrawPicture(*cache.Broken(), natural);
        break;
      case Showing::ImagesOff:
      case Showing::Awaited:
        canvas.DrawPicture(*cache.ImagesOff(), natural);
        break;
      case Showing::Nothing:
        break;
    }
  }
  const Rect outline{x, top, x + ImageWidth, top + ImageHeight};
  if (placeholder) {
    ClipScope clip(canvas, outline);
    canvas.SelectFont(AltFont(color));
    DrawAltText(canvas, x + kAltTextLeft, top + inset, x + ImageWidth - 2, top + ImageHeight);
  }
  if (HasBorder)
    canvas.FrameRect(outline, color);
  else if (placeholder)
    DrawBevel(canvas, outline, clBtnShadow, BevelLightColor(canvas, doc.Background()));
}

void TImageObj::DrawAltText(Canvas& canvas, int left, int top, int right, int bottom) const {
  const FontMetrics m = canvas.Metrics();
  const int lineHeight = std::max(m.Height, 1);
  int y = top;
  // False when the line would pass the box's bottom: nothing more is drawn.
  const auto put = [&](const std::u16string& line) {
    if (y + lineHeight > bottom) return false;
    canvas.TextOut(left, y + m.Ascent, line);
    y += lineHeight;
    return true;
  };
  std::u16string_view rest = Trim(Alt);
  std::u16string line;
  while (!rest.empty()) {
    size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end])) ++end;
    const std::u16string_view word = rest.substr(0, end);
    rest = Trim(rest.substr(end));
    std::u16string longer = line.empty() ? std::u16string(word) : line + u' ' + std::u16string(word);
    if (!line.empty() && canvas.TextWidth(longer) > right - left) {
      if (!put(line)) return;
      line = std::u16string(word);
    } else {
      line = std::move(longer);
    }
  }
  if (!line.empty()) put(line);
}

}  // namespace quillet
