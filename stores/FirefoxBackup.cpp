#include "stores/FirefoxBackup.h"

#include <lz4.h>

#include <cstring>
#include <nlohmann/json.hpp>

#include "bookmarks/FolderPath.h"
#include "stores/FirefoxRoots.h"
#include "stores/StoreError.h"

namespace quillet {

namespace {

using Json = nlohmann::json;

constexpr std::string_view kMagic{"mozLz40\0", 8};
// LZ4 cannot expand a block more than 255 times; a larger size is a lie.
constexpr size_t kMaxExpansion = 255;
constexpr size_t kMaxDecoded = size_t{1} << 30;
// Far deeper than any backup; nothing below walks an unbounded depth.
constexpr int kMaxDepth = 512;

const std::string* StringMember(const Json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end() || !it->is_string()) return nullptr;
  return &it->get_ref<const std::string&>();
}

int64_t NumberMember(const Json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end()) return 0;
  if (it->is_number_integer()) return it->get<int64_t>();
  if (it->is_number_float()) {
    const double d = it->get<double>();
    return d > 0 && d < 9e18 ? static_cast<int64_t>(d) : 0;
  }
  return 0;
}

// Containers, places and separators by typeCode, or by type in older backups.
enum class Kind { Container, Place, Separator, Unknown };
Kind KindOf(const Json& n) {
  const auto code = n.find("typeCode");
  if (code != n.end() && code->is_number_integer()) {
    const int64_t c = code->get<int64_t>();
    return c == 1 ? Kind::Place : c == 2 ? Kind::Container : c == 3 ? Kind::Separator : Kind::Unknown;
  }
  const std::string* type = StringMember(n, "type");
  if (!type) return Kind::Unknown;
  if (*type == "text/x-moz-place") return Kind::Place;
  if (*type == "text/x-moz-place-container") return Kind::Container;
  if (*type == "text/x-moz-place-separator") return Kind::Separator;
  return Kind::Unknown;
}

std::string Description(const Json& n) {
  const auto annos = n.find("annos");
  if (annos == n.end() || !annos->is_array()) return {};
  for (const Json& a : *annos) {
    if (!a.is_object()) continue;
    const std::string* name = StringMember(a, "name");
    const std::string* value = StringMember(a, "value");
    if (name && value && *name == "bookmarkProperties/description") return *value;
  }
  return {};
}

Json Parse(std::string_view text, bool& ok) {
  // The depth is bounded while parsing: deeper input is refused whole.
  bool tooDeep = false;
  Json doc = Json::parse(
      text,
      [&](int depth, Json::parse_event_t, Json&) {
        if (depth > kMaxDepth) tooDeep = true;
        return true;
      },
      false);
  ok = !doc.is_discarded() && !tooDeep && doc.is_object();
  return doc;
}

}  // namespace

bool IsJsonLz4(std::string_view bytes) { return bytes.substr(0, kMagic.size()) == kMagic; }

std::string DecodeJsonLz4(std::string_view bytes) {
  if (!IsJsonLz4(bytes) || bytes.size() < kMagic.size() + 4)
    throw StoreError("This is not a compressed Firefox backup: it lacks the mozLz40 header.");
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + kMagic.size();
  const size_t size = size_t{p[0]} | size_t{p[1]} << 8 | size_t{p[2]} << 16 | size_t{p[3]} << 24;
  const std::string_view block = bytes.substr(kMagic.size() + 4);
  if (size > kMaxDecoded || size > (block.size() + 16) * kMaxExpansion || block.size() > INT32_MAX)
    throw StoreError("The compressed Firefox backup is damaged: it claims " + std::to_string(size) + " bytes.");
  std::string out(size, '\0');
  const int got = LZ4_decompress_safe(block.data(), out.data(), static_cast<int>(block.size()), static_cast<int>(size));
  if (got < 0 || static_cast<size_t>(got) != size)
    throw StoreError("The compressed Firefox backup is damaged: its data does not unpack.");
  return out;
}

bool LooksLikeFirefoxBackup(std::string_view json) {
  bool ok = false;
  const Json doc = Parse(json, ok);
  return ok && KindOf(doc) == Kind::Container && doc.contains("children");
}

StoreRead ReadFirefoxBackup(std::string_view bytes) {
  std::string decoded;
  if (IsJsonLz4(bytes)) {
    decoded = DecodeJsonLz4(bytes);
    bytes = decoded;
  }
  bool ok = false;
  const Json doc = Parse(bytes, ok);
  if (!ok || KindOf(doc) != Kind::Container)
    throw StoreError("This is not a Firefox bookmark backup: it does not hold one container of bookmarks.");
  StoreRead out;
  struct Frame {
    const Json* Node;
    OutlineNode* Out;
    std::string Path;  // of the folder it is in
    bool IsRoot;
  };
  std::vector<Frame> stack;
  std::vector<const Json*> items;
  // The roots first: each known one becomes a top-level folder, any other
  // container under the root is read as one under its own title.
  const auto top = doc.find("children");
  if (top != doc.end() && top->is_array()) {
    for (const Json& r : *top) {
      if (!r.is_object()) continue;
      const std::string* rootName = StringMember(r, "root");
      const std::string* guid = StringMember(r, "guid");
      const bool tags = (rootName && *rootName == "tagsFolder") || (guid && *guid == "tags________");
      if (!tags) items.push_back(&r);
    }
  }
  out.Root.Children.resize(items.size());
  for (size_t i = items.size(); i-- > 0;) stack.push_back({items[i], &out.Root.Children[i], "", true});
  while (!stack.empty()) {
    Frame f = std::move(stack.back());
    stack.pop_back();
    const Json& n = *f.Node;
    OutlineNode& o = *f.Out;
    const std::string* title = StringMember(n, "title");
    o.Title = title ? *title : std::string();
    bool mobile = false;
    if (f.IsRoot) {
      const std::string* rootName = StringMember(n, "root");
      const std::string* guid = StringMember(n, "guid");
      const char* rootTitle = rootName ? FirefoxRootTitle(*rootName) : nullptr;
      if (!rootTitle && guid) rootTitle = FirefoxRootTitle(*guid);
      if (rootTitle) o.Title = rootTitle;
      mobile = (rootName && *rootName == "mobileFolder") || (guid && *guid == "mobile______");
    }
    const std::string path = f.IsRoot ? EscapePathStep(o.Title) : f.Path + "/" + EscapePathStep(o.Title);
    o.Description = Description(n);
    switch (KindOf(n)) {
      case Kind::Separator:
        o.Kind = NodeKind::Separator;
        continue;
      case Kind::Place: {
        const std::string* uri = StringMember(n, "uri");
        if (!uri) {
          out.Problems.push_back({0, "no-address", f.Path + ": \"" + o.Title + "\" is a bookmark without an address"});
          o.Kind = NodeKind::Opaque;  // taken out below
          continue;
        }
        o.Address = *uri;
        const std::string* keyword = StringMember(n, "keyword");
        const std::string* tags = StringMember(n, "tags");
        SetFirefoxLinkValues(o, NumberMember(n, "dateAdded"), NumberMember(n, "lastModified"), keyword ? *keyword : "",
                             tags ? *tags : "");
        continue;
      }
      case Kind::Unknown:
        out.Problems.push_back({0, "unknown-node", f.Path + ": \"" + o.Title + "\" is of no type Firefox knows"});
        o.Kind = NodeKind::Opaque;
        continue;
      case Kind::Container:
        break;
    }
    const std::string* guid = StringMember(n, "guid");
    const std::string* rootName = StringMember(n, "root");
    const bool toolbar = f.IsRoot && ((guid && *guid == "toolbar_____") || (rootName && *rootName == "toolbarFolder"));
    SetFirefoxFolderValues(o, NumberMember(n, "dateAdded"), NumberMember(n, "lastModified"), toolbar);
    // Mobile bookmarks are rare on a desktop: an empty root is no folder.
    if (const auto c = n.find("children"); mobile && (c == n.end() || c->empty())) o.Kind = NodeKind::Opaque;
    const auto children = n.find("children");
    if (children == n.end() || !children->is_array()) continue;
    items.clear();
    for (const Json& c : *children)
      if (c.is_object()) items.push_back(&c);
    o.Children.resize(items.size());
    for (size_t i = items.size(); i-- > 0;) stack.push_back({items[i], &o.Children[i], path, false});
  }
  // Entries that could not be read were kept as placeholders while the
  // pointers above were in use; they go now.
  DropPlaceholders(out.Root);
  return out;
}

}  // namespace quillet
