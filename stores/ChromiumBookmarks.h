#pragma once
// Chromium's bookmark store: the "Bookmarks" JSON file in a profile folder
// (Chromium, Chrome, Brave, Vivaldi, Edge).
//
// Its three roots read as the top-level folders "Bookmarks bar" (marked as
// the toolbar folder), "Other bookmarks" and "Mobile bookmarks" (left out
// when empty); dates go between microseconds since 1601 and Unix seconds.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stores/StoreRead.h"

namespace quillet {

// What a Chromium file held beside the values the outline carries, node by
// node in the outline's own shape: writing the outline back keeps them.
struct ChromiumKept {
  std::string Id, Guid;
  // The node's members no writer of ours knows, as JSON text ("k": v, ...).
  std::string Extra;
  std::vector<ChromiumKept> Children;
  // For the file itself: the members of "roots" beside the three roots.
  std::string RootsExtra;
};

// Reads the file's text. A missing or wrong checksum is reported, never
// refused. Throws StoreError when the text is no Chromium bookmark file.
StoreRead ReadChromiumBookmarks(std::string_view json);

// The checksum Chromium keeps in the file: MD5 over every node in depth-first
// order (bar, other, mobile), each as its id, its title in UTF-16LE, then
// "folder", or "url" and its address; as lower-case hex.
class ChromiumChecksum {
 public:
  ChromiumChecksum();
  ~ChromiumChecksum();
  ChromiumChecksum(const ChromiumChecksum&) = delete;
  ChromiumChecksum& operator=(const ChromiumChecksum&) = delete;
  void Folder(std::string_view id, std::u16string_view title);
  void Url(std::string_view id, std::u16string_view title, std::string_view url);
  std::string Hex();

 private:
  struct State;
  State* s_;
};

// Chromium drops a bookmark whose address it cannot parse (no scheme, a web
// address without a host, too long); such links are refused instead.
bool ChromiumKeepsAddress(std::string_view url);

struct ChromiumWrite {
  std::string Json;
  // Links left out because Chromium would drop their address, each with its
  // folder path.
  std::vector<StoreProblem> Refused;
  OutlineCounts Written;
};

// The outline as a Chromium file: version 1, the three roots always there,
// unique ids, a version-4 guid on each node, the right checksum. The
// top-level folder marked as the toolbar (or one named "Bookmarks bar")
// fills the bar, top-level "Other bookmarks" and "Mobile bookmarks" fill
// theirs, everything else goes into Other bookmarks. kept (from reading a
// Chromium file into this same outline) brings its ids, guids and unknown
// members back. Throws StoreError for folders nested deeper than Chromium
// reads.
ChromiumWrite WriteChromiumBookmarks(const OutlineNode& root, const ChromiumKept* kept = nullptr);

// How deep folders may nest below a root: Chromium refuses a file whose JSON
// nests deeper than 200 levels.
inline constexpr size_t kChromiumMaxFolderDepth = 90;

// Chromium's date text (microseconds since 1601) as Unix seconds, and back.
std::optional<int64_t> ChromiumDateToUnix(std::string_view text);
std::string UnixToChromiumDate(int64_t seconds);

}  // namespace quillet
