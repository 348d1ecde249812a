#pragma once
// The picture cache every pane of a process shares, and the fetch that
// finds a picture in it or loads it (from the host's stream or from a file).
//
// Ownership: the host makes one TStringBitmapList (std::make_shared) and
// hands it to each pane's document (TSectionList::SetImageCache); a
// document that was given none keeps a cache of its own. Entries own their
// pictures; an image holding a picture holds a TCacheLease, which counts
// its use and gives the use back when the image goes. The pictures
// themselves are shared, so a picture an image still shows stays alive even
// when its entry is dropped.
#include <cstdint>
#include <functional>
#include <map>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "platform/Picture.h"
#include "viewer/images/Gif.h"
#include "viewer/images/PictureReader.h"

namespace quillet {

class FileSystem;

// One cached picture: a still picture or an animation.
struct TBitmapItem {
  // Loads of a document since the entry was last fetched.
  int Age = 0;
  // Images holding the picture now.
  int UseCount = 0;
  // What its transparent pixels come from.
  Transparency Kind = Transparency::None;
  // A still picture as loaded.
  std::shared_ptr<const Picture> Pic;
  // The same with its lower-left colour transparent, made when an image
  // with TRANSP first asks for it. Images without TRANSP keep drawing Pic.
  std::shared_ptr<const Picture> CornerPic;
  // An animation (a GIF of several frames); the first image to show it
  // animates this one, later ones a copy each.
  std::shared_ptr<TGIFImage> Gif;
  // Tells this entry from an earlier one of the same key, so that a use of
  // a cleared entry is never given back to its successor.
  uint64_t Serial = 0;
};

class TStringBitmapList {
 public:
  static constexpr int kInitialLimit = 4;
  static constexpr int kMaxLimit = 20;

  TStringBitmapList();

  // The key of a source: blanks trimmed, letter case as written.
  static std::u16string KeyOf(std::u16string_view source);

  // Enters the item under the key (replacing any entry of that key);
  // entering counts as its first use.
  TBitmapItem& Add(const std::u16string& key, TBitmapItem item);
  // The entry of the key, its age back to 0 and one more use; null when none.
  TBitmapItem* Fetch(const std::u16string& key);
  // The entry without counting anything (tests, diagnostics); null when none.
  const TBitmapItem* Find(std::u16string_view source) const;
  // One use fewer for the entry of that source; with a serial, only when
  // the entry is still the one that serial names.
  void Release(std::u16string_view source, uint64_t serial = 0);
  // At every document load: every entry ages by one; one older than the
  // limit that no image uses is freed. An unused picture thus survives as
  // many further loads as the limit says.
  void Purge();
  // Clamped to 0..kMaxLimit; entries older than the new limit that no
  // image uses are freed at once.
  void SetLimit(int n);
  int Limit() const { return limit_; }
  // Frees every entry no image uses.
  void DropUnused();
  void Clear() { items_.clear(); }
  size_t Count() const { return items_.size(); }

  // The placeholder pictures, made once per cache.
  const std::shared_ptr<const Picture>& ImagesOff() const { return imagesOff_; }
  const std::shared_ptr<const Picture>& Broken() const { return broken_; }

 private:
  std::map<std::u16string, TBitmapItem, std::less<>> items_;
  int limit_ = kInitialLimit;
  uint64_t nextSerial_ = 1;
  std::shared_ptr<const Picture> imagesOff_;
  std::shared_ptr<const Picture> broken_;
};

// One use of a cache entry, given back when the lease goes.
class TCacheLease {
 public:
  TCacheLease() = default;
  TCacheLease(std::shared_ptr<TStringBitmapList> cache, std::u16string key, uint64_t serial)
      : cache_(std::move(cache)), key_(std::move(key)), serial_(serial) {}
  ~TCacheLease() { Reset(); }
  TCacheLease(TCacheLease&& o) noexcept
      : cache_(std::move(o.cache_)), key_(std::move(o.key_)), serial_(o.serial_) {
    o.cache_.reset();
  }
  TCacheLease& operator=(TCacheLease&& o) noexcept {
    if (this != &o) {
      Reset();
      cache_ = std::move(o.cache_);
      key_ = std::move(o.key_);
      serial_ = o.serial_;
      o.cache_.reset();
    }
    return *this;
  }
  TCacheLease(const TCacheLease&) = delete;
  TCacheLease& operator=(const TCacheLease&) = delete;

  void Reset() {
    if (cache_) cache_->Release(key_, serial_);
    cache_.reset();
  }

 private:
  std::shared_ptr<TStringBitmapList> cache_;
  std::u16string key_;
  uint64_t serial_ = 0;
};

// A picture's bytes as the host hands them over through OnImageRequest.
struct TImageStream {
  // The file's bytes; empty for no picture.
  std::string Data;
  // The host will deliver the picture later: the image waits, showing the
  // images-off picture.
  bool Wait = false;

  // What a host that will deliver later answers.
  static TImageStream WaitStream() {
    TImageStream s;
    s.Wait = true;
    return s;
  }
};

// The host's picture source: called with the source as the page wrote it
// (UTF-8); the host fills the stream, leaves it empty, or answers with
// WaitStream().
using TImageRequest = std::function<void(const std::string& src, TImageStream& stream)>;

// The room one document's pictures may take, 1 GiB by default: what is
// decoded for it and what it takes from the cache count alike, a picture
// shared by several images once. A picture that would not fit is not
// decoded at all; its image shows the broken picture.
class TPictureBudget {
 public:
  static constexpr uint64_t kDocumentBytes = uint64_t{1} << 30;

  // One object's bytes; objects counted once are named by their address,
  // none (null) counts every time.
  struct Share {
    const void* What = nullptr;
    uint64_t Bytes = 0;
  };

  explicit TPictureBudget(uint64_t limit = kDocumentBytes) : limit_(limit) {}

  uint64_t Limit() const { return limit_; }
  uint64_t Used() const { return used_; }
  uint64_t Room() const { return limit_ - used_; }
  // Counts the shares not counted yet; false, counting nothing, when they
  // do not fit. Named objects must live until Reset (the document holds
  // them), so that no other object takes their address meanwhile.
  bool Take(std::initializer_list<Share> shares);
  // A new document: nothing counted.
  void Reset();

 private:
  uint64_t limit_;
  uint64_t used_ = 0;
  std::set<const void*> counted_;
};

// What a fetch found.
struct TFetchedImage {
  // A still picture, drawn as it is (its alpha blended).
  std::shared_ptr<const Picture> Pic;
  // Or an animation: the cache's own object; from the cache (FromCache) an
  // image copies it, so that each animates on its own.
  std::shared_ptr<TGIFImage> Gif;
  Transparency Kind = Transparency::None;
  // The host will deliver the picture later.
  bool Delayed = false;
  bool FromCache = false;
  // The use of the cache entry, held by whoever keeps the picture.
  TCacheLease Lease;

  bool Found() const { return Pic || Gif; }
};

// Finds the picture of a source: in the cache (by its key), else from the
// host's request when one is given, else from the file the source names
// (read through files; none when files is null). GIF is decoded by our
// decoder (a file by its ".gif" name, a stream by its signature): a single
// frame becomes a still picture. BMP, JPEG and PNG are read by their
// signature. corner asks for the lower-left colour to be transparent
// (TRANSP), which pictures with transparency of their own ignore. A picture
// found enters the cache. Nothing is found for a broken or unknown picture,
// for one that would not fit in the budget (when one is given), or when
// memory runs out decoding it.
TFetchedImage FetchImage(const std::shared_ptr<TStringBitmapList>& cache, const TImageRequest& request,
                         FileSystem* files, std::u16string_view source, bool corner,
                         TPictureBudget* budget = nullptr);

}  // namespace quillet
