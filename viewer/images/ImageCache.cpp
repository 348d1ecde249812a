#include "viewer/images/ImageCache.h"

#include <algorithm>
#include <new>
#include <span>

#include "platform/AsciiCase.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "viewer/images/ImageSignature.h"
#include "viewer/images/PlaceholderPictures.h"

namespace quillet {

namespace {

// A stream this short holds no picture.
constexpr size_t kMinStreamSize = 20;

std::span<const uint8_t> Bytes(const std::string& data) {
  return {reinterpret_cast<const uint8_t*>(data.data()), data.size()};
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }

bool HasGifExtension(std::u16string_view source) {
  return source.size() >= 4 && UpperAscii(source.substr(source.size() - 4)) == u".GIF";
}

// A copy of the picture with its lower-left colour transparent; null when
// that cannot be made.
std::shared_ptr<const Picture> CornerCopy(const Picture& pic) {
  auto copy = std::make_shared<Picture>(pic);
  if (!MakeCornerTransparent(*copy)) return nullptr;
  return copy;
}

uint64_t BytesOf(const std::shared_ptr<const Picture>& pic) {
  return pic ? Picture::BytesFor(pic->Width, pic->Height) : 0;
}

// A GIF: a single frame becomes a still picture, several stay an animation.
// False when no frame could be read, or it would not fit in `room` bytes.
bool ItemFromGif(std::span<const uint8_t> data, bool corner, TBitmapItem& item, uint64_t room) {
  auto gif = std::make_shared<TGIFImage>();
  if (!gif->Load(data, false, room)) return false;
  if (gif->FrameCount() > 1) {
    item.Kind = gif->AnyTransparent() ? Transparency::GifColor : Transparency::None;
    item.Gif = std::move(gif);
    return true;
  }
  auto pic = std::make_shared<Picture>(gif->PlainPicture());
  // A frame smaller than the screen leaves transparent pixels too.
  if (gif->AnyTransparent() || pic->HasTransparency()) {
    item.Kind = Transparency::GifColor;
  } else if (corner) {
    item.CornerPic = CornerCopy(*pic);
    if (item.CornerPic) item.Kind = Transparency::Corner;
  }
  item.Pic = std::move(pic);
  return true;
}

// BMP, JPEG or PNG by its signature.
bool ItemFromPicture(std::span<const uint8_t> data, bool corner, TBitmapItem& item, uint64_t room) {
  std::optional<DecodedPicture> decoded = ReadPicture(data, false, room);
  if (!decoded) return false;
  auto pic = std::make_shared<Picture>(std::move(decoded->Pic));
  item.Kind = decoded->Kind;
  if (item.Kind == Transparency::None && corner) {
    item.CornerPic = CornerCopy(*pic);
    if (item.CornerPic) item.Kind = Transparency::Corner;
  }
  item.Pic = std::move(pic);
  return true;
}

// What a picture found holds: the object returned, and the picture a
// corner copy was made from.
bool Charge(TPictureBudget* budget, const TBitmapItem& item, const TFetchedImage& out) {
  if (!budget) return true;
  if (out.Gif) return budget->Take({{out.Gif.get(), out.Gif->DecodedBytes()}});
  if (out.Pic == item.CornerPic) return budget->Take({{item.Pic.get(), BytesOf(item.Pic)}, {out.Pic.get(), BytesOf(out.Pic)}});
  return budget->Take({{out.Pic.get(), BytesOf(out.Pic)}});
}

}  // namespace

// ---------------------------------------------------------------- budget

bool TPictureBudget::Take(std::initializer_list<Share> shares) {
  uint64_t need = 0;
  for (const Share& s : shares)
    if (!s.What || !counted_.contains(s.What)) need += s.Bytes;
  if (need > Room()) return false;
  for (const Share& s : shares)
    if (s.What) counted_.insert(s.What);
  used_ += need;
  return true;
}

void TPictureBudget::Reset() {
  used_ = 0;
  counted_.clear();
}

// ---------------------------------------------------------------- cache

TStringBitmapList::TStringBitmapList()
    : imagesOff_(std::make_shared<const Picture>(ImagesOffPicture())),
      broken_(std::make_shared<const Picture>(BrokenImagePicture())) {}

std::u16string TStringBitmapList::KeyOf(std::u16string_view source) {
  while (!source.empty() && IsBlank(source.front())) source.remove_prefix(1);
  while (!source.empty() && IsBlank(source.back())) source.remove_suffix(1);
  // Letter case kept: on Linux A.bmp and a.bmp are two files.
  return std::u16string(source);
}

TBitmapItem& TStringBitmapList::Add(const std::u16string& key, TBitmapItem item) {
  item.Age = 0;
  item.UseCount = 1;
  item.Serial = nextSerial_++;
  return items_.insert_or_assign(key, std::move(item)).first->second;
}

TBitmapItem* TStringBitmapList::Fetch(const std::u16string& key) {
  const auto it = items_.find(key);
  if (it == items_.end()) return nullptr;
  it->second.Age = 0;
  ++it->second.UseCount;
  return &it->second;
}

const TBitmapItem* TStringBitmapList::Find(std::u16string_view source) const {
  const auto it = items_.find(KeyOf(source));
  return it == items_.end() ? nullptr : &it->second;
}

void TStringBitmapList::Release(std::u16string_view source, uint64_t serial) {
  const auto it = items_.find(KeyOf(source));
  if (it != items_.end() && (serial == 0 || it->second.Serial == serial)) --it->second.UseCount;
}

void TStringBitmapList::Purge() {
  for (auto it = items_.begin(); it != items_.end();) {
    TBitmapItem& item = it->second;
    ++item.Age;
    it = item.Age > limit_ && item.UseCount < 1 ? items_.erase(it) : std::next(it);
  }
}

void TStringBitmapList::SetLimit(int n) {
  n = std::clamp(n, 0, kMaxLimit);
  std::erase_if(items_, [n](const auto& entry) { return entry.second.Age > n && entry.second.UseCount <= 0; });
  limit_ = n;
}

void TStringBitmapList::DropUnused() {
  std::erase_if(items_, [](const auto& entry) { return entry.second.UseCount < 1; });
}

// ---------------------------------------------------------------- fetch

namespace {

// A picture the cache holds, leased, with its corner copy made the first
// time a TRANSP image asks for one.
TFetchedImage FromCache(const std::shared_ptr<TStringBitmapList>& cache, const std::u16string& key,
                        TBitmapItem& item, bool corner, TPictureBudget* budget) {
  TFetchedImage out;
  out.FromCache = true;
  out.Lease = TCacheLease(cache, key, item.Serial);
  if (item.Gif) {
    out.Gif = item.Gif;
    out.Kind = item.Kind;
  } else {
    out.Pic = item.Pic;
    if (item.Kind == Transparency::GifColor || item.Kind == Transparency::Alpha) {
      out.Kind = item.Kind;
    } else if (corner) {
      if (!item.CornerPic && item.Pic && (!budget || 2 * BytesOf(item.Pic) <= budget->Room())) {
        try {
          item.CornerPic = CornerCopy(*item.Pic);
        } catch (const std::bad_alloc&) {
        }
      }
      if (item.CornerPic) {
        item.Kind = Transparency::Corner;
        out.Kind = Transparency::Corner;
        out.Pic = item.CornerPic;
      }
    }
  }
  // Past the document's budget the picture is not shown: the use goes back.
  if (!Charge(budget, item, out)) return TFetchedImage();
  return out;
}

}  // namespace

TFetchedImage FetchImage(const std::shared_ptr<TStringBitmapList>& cache, const TImageRequest& request,
                         FileSystem* files, std::u16string_view source, bool corner, TPictureBudget* budget) {
  TFetchedImage out;
  const std::u16string key = TStringBitmapList::KeyOf(source);
  if (key.empty() || !cache) return out;

  if (TBitmapItem* item = cache->Fetch(key)) return FromCache(cache, key, *item, corner, budget);

  // A picture with a corner copy is held twice.
  uint64_t room = budget ? budget->Room() : Picture::kAnyRoom;
  if (corner && room != Picture::kAnyRoom) room /= 2;
  TBitmapItem item;
  bool found = false;
  // Short of memory, a picture is as broken as one that cannot be read.
  try {
    if (request) {
      TImageStream stream;
      request(Utf16ToUtf8(source), stream);
      if (stream.Wait) {
        out.Delayed = true;
        return out;
      }
      if (stream.Data.size() >= kMinStreamSize) {
        const std::span<const uint8_t> data = Bytes(stream.Data);
        if (IsGif(SignatureOf(data))) {
          found = ItemFromGif(data, corner, item, room);
          if (!found) cache->DropUnused();
        } else {
          found = ItemFromPicture(data, corner, item, room);
        }
      }
    } else if (files) {
      std::string bytes;
      if (files->TryReadFile(Utf16ToUtf8(source), bytes)) {
        const std::span<const uint8_t> data = Bytes(bytes);
        if (HasGifExtension(source)) {
          found = ItemFromGif(data, corner, item, room);
          if (!found) cache->DropUnused();
        }
        // Anything else, and a ".gif" that held no GIF, is read by its
        // signature; a GIF not named so is not.
        if (!found && !IsGif(SignatureOf(data))) found = ItemFromPicture(data, corner, item, room);
      }
    }
  } catch (const std::bad_alloc&) {
    found = false;
  }
  if (!found) return out;

  out.Kind = item.Kind;
  out.Gif = item.Gif;
  out.Pic = item.Kind == Transparency::Corner ? item.CornerPic : item.Pic;
  if (!Charge(budget, item, out)) return TFetchedImage();
  TBitmapItem& entered = cache->Add(key, std::move(item));
  out.Lease = TCacheLease(cache, key, entered.Serial);
  return out;
}

}  // namespace quillet
