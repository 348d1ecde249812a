#include "stores/ChromiumBookmarks.h"

#include <nettle/md5.h>

#include <charconv>
#include <nlohmann/json.hpp>
#include <random>
#include <unordered_set>

#include "bookmarks/BookmarkFormat.h"
#include "bookmarks/FolderPath.h"
#include "platform/TextCodec.h"
#include "platform/Utf8.h"
#include "stores/StoreError.h"

namespace quillet {

namespace {

using Json = nlohmann::json;

constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
// Deeper than any file Chromium itself reads; refused before parsing, so
// that nothing after it meets an unbounded depth.
constexpr size_t kMaxJsonDepth = 512;
// Chromium's longest address.
constexpr size_t kMaxUrlLength = 2 * 1024 * 1024;

struct RootSpec {
  const char* Key;
  const char* Title;
  const char* Guid;  // Chromium's fixed guid for the root
};
constexpr RootSpec kRoots[] = {
    {"bookmark_bar", "Bookmarks bar", "0bc5d13f-2cba-5d74-951f-3f233fe6c908"},
    {"other", "Other bookmarks", "82b081ec-3dd3-529c-8475-ab6c344590dd"},
    {"synced", "Mobile bookmarks", "4cf2e351-0e85-532b-bb37-df045d8f8d0f"},
};

size_t JsonDepth(std::string_view text) {
  size_t depth = 0, deepest = 0;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '{' || c == '[') {
      deepest = std::max(deepest, ++depth);
    } else if ((c == '}' || c == ']') && depth > 0) {
      --depth;
    }
  }
  return deepest;
}

bool IsKnownKey(std::string_view key) {
  return key == "children" || key == "date_added" || key == "date_modified" || key == "guid" || key == "id" ||
         key == "name" || key == "type" || key == "url";
}

const std::string* StringMember(const Json& object, const char* key) {
  const auto it = object.find(key);
  if (it == object.end() || !it->is_string()) return nullptr;
  return &it->get_ref<const std::string&>();
}

std::string Dump(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

// The members of an object that no writer of ours knows, as JSON text.
std::string ExtraMembers(const Json& object) {
  std::string out;
  for (auto it = object.begin(); it != object.end(); ++it) {
    if (IsKnownKey(it.key())) continue;
    if (!out.empty()) out += ", ";
    out += Dump(Json(it.key())) + ": " + Dump(it.value());
  }
  return out;
}

void AddDate(OutlineNode& node, const char* attribute, const std::string* text) {
  if (!text) return;
  if (const auto seconds = ChromiumDateToUnix(*text)) node.Attributes.emplace_back(attribute, std::to_string(*seconds));
}

// Text for the file: valid UTF-8 as it is, anything else read as
// Windows-1252, as the program reads 8-bit text everywhere.
std::u16string Utf16Text(std::string_view text) {
  return DecodeToUtf16(text, IsValidUtf8(text) ? TextEncoding::Utf8 : TextEncoding::Windows1252);
}

class ChromiumReader {
 public:
  StoreRead Read(std::string_view text) {
    if (JsonDepth(text) > kMaxJsonDepth) throw StoreError("The Chromium bookmarks nest deeper than Chromium reads.");
    Json doc = Json::parse(text, nullptr, false);
    if (doc.is_discarded() || !doc.is_object())
      throw StoreError("This is not a Chromium bookmarks file: it does not hold one JSON object.");
    const auto roots = doc.find("roots");
    if (roots == doc.end() || !roots->is_object())
      throw StoreError("This is not a Chromium bookmarks file: it has no \"roots\".");

    auto kept = std::make_shared<ChromiumKept>();
    for (auto it = doc.begin(); it != doc.end(); ++it)
      if (it.key() != "roots" && it.key() != "checksum" && it.key() != "version")
        kept->Extra += (kept->Extra.empty() ? "" : ", ") + Dump(Json(it.key())) + ": " + Dump(it.value());
    for (auto it = roots->begin(); it != roots->end(); ++it) {
      const bool known = it.key() == "bookmark_bar" || it.key() == "other" || it.key() == "synced";
      if (known) continue;
      kept->RootsExtra += (kept->RootsExtra.empty() ? "" : ", ") + Dump(Json(it.key())) + ": " + Dump(it.value());
      problems_.push_back({0, "unknown-root", "roots." + it.key() + " is kept in the file but not read"});
    }

    for (const RootSpec& spec : kRoots) {
      const auto r = roots->find(spec.Key);
      if (r == roots->end()) continue;
      if (!r->is_object()) {
        problems_.push_back({0, "bad-node", std::string("roots.") + spec.Key + " is not an object"});
        continue;
      }
      OutlineNode folder;
      folder.Title = spec.Title;
      ChromiumKept rootKept;
      ReadTree(*r, folder, rootKept, EscapePathStep(spec.Title));
      if (&spec == &kRoots[0]) folder.Attributes.emplace_back("PERSONAL_TOOLBAR_FOLDER", "true");
      // Mobile bookmarks are rare on a desktop: an empty root is no folder.
      if (&spec == &kRoots[2] && folder.Children.empty() && rootKept.Extra.empty()) continue;
      out_.Root.Children.push_back(std::move(folder));
      kept->Children.push_back(std::move(rootKept));
    }

    const std::string* stored = StringMember(doc, "checksum");
    const std::string actual = checksum_.Hex();
    if (!stored)
      problems_.insert(problems_.begin(), {0, "no-checksum", "the file has no checksum; read all the same"});
    else if (*stored != actual)
      problems_.insert(problems_.begin(),
                       {0, "wrong-checksum", "the checksum is " + *stored + " where the bookmarks give " + actual +
                                                 "; read all the same"});
    out_.Problems = std::move(problems_);
    out_.Kept = std::move(kept);
    return std::move(out_);
  }

 private:
  StoreRead out_;
  std::vector<StoreProblem> problems_;
  ChromiumChecksum checksum_;

  // A root and everything in it, depth first: the checksum's order. An
  // explicit stack: no nesting can exhaust the call stack.
  void ReadTree(const Json& root, OutlineNode& rootOut, ChromiumKept& rootKept, const std::string& rootPath) {
    struct Frame {
      const Json* Node;
      OutlineNode* Out;
      ChromiumKept* Kept;
      std::string Path;  // the folder path of a folder, of the folder around a link
    };
    std::vector<Frame> stack{{&root, &rootOut, &rootKept, rootPath}};
    std::vector<const Json*> items;
    while (!stack.empty()) {
      Frame f = std::move(stack.back());
      stack.pop_back();
      const Json& node = *f.Node;
      OutlineNode& out = *f.Out;
      ChromiumKept& kept = *f.Kept;
      if (const std::string* id = StringMember(node, "id")) kept.Id = *id;
      if (const std::string* guid = StringMember(node, "guid")) kept.Guid = *guid;
      kept.Extra = ExtraMembers(node);
      const std::string* name = StringMember(node, "name");
      const std::u16string title = Utf8ToUtf16(name ? *name : std::string());
      if (f.Out != &rootOut) out.Title = name ? *name : std::string();
      AddDate(out, "ADD_DATE", StringMember(node, "date_added"));
      if (out.Kind == NodeKind::Link) {
        out.Address = *StringMember(node, "url");
        checksum_.Url(kept.Id, title, out.Address);
        continue;
      }
      AddDate(out, "LAST_MODIFIED", StringMember(node, "date_modified"));
      checksum_.Folder(kept.Id, title);

      const auto children = node.find("children");
      if (children == node.end()) continue;
      if (!children->is_array()) {
        problems_.push_back({0, "bad-node", f.Path + ": its children are not a list"});
        continue;
      }
      items.clear();
      for (const Json& c : *children)
        if (Usable(c, f.Path)) items.push_back(&c);
      // Sized once, so that the pointers on the stack stay good.
      out.Children.resize(items.size());
      kept.Children.resize(items.size());
      for (size_t i = items.size(); i-- > 0;) {
        OutlineNode& child = out.Children[i];
        const bool folder = *StringMember(*items[i], "type") == "folder";
        child.Kind = folder ? NodeKind::Folder : NodeKind::Link;
        std::string path = f.Path;
        if (folder) {
          const std::string* childName = StringMember(*items[i], "name");
          path += "/" + EscapePathStep(childName ? *childName : std::string());
        }
        stack.push_back({items[i], &child, &kept.Children[i], std::move(path)});
      }
    }
  }

  bool Usable(const Json& c, const std::string& path) {
    if (!c.is_object()) {
      problems_.push_back({0, "bad-node", path + ": an entry that is not an object"});
      return false;
    }
    const std::string* type = StringMember(c, "type");
    const std::string* name = StringMember(c, "name");
    const std::string what = path + ": \"" + (name ? *name : std::string()) + "\"";
    if (!type || (*type != "url" && *type != "folder")) {
      problems_.push_back({0, "unknown-node", what + " is of no type Chromium knows"});
      return false;
    }
    if (*type == "url" && !StringMember(c, "url")) {
      problems_.push_back({0, "no-address", what + " is a link without an address"});
      return false;
    }
    return true;
  }
};

bool EqualNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && UpperAscii(a) == UpperAscii(b); }

bool IsToolbarFolder(const OutlineNode& n) {
  const std::string* flag = FindAttribute(n, "PERSONAL_TOOLBAR_FOLDER");
  return n.Kind == NodeKind::Folder && flag && EqualNoCase(*flag, "true");
}

void AppendJsonString(std::string& out, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  size_t plain = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.append(text.substr(plain, i - plain));
    plain = i + 1;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += "\\u00"; out += kHex[c >> 4]; out += kHex[c & 15];
    }
  }
  out.append(text.substr(plain));
  out += '"';
}

bool IsLowerGuid(std::string_view g) {
  if (g.size() != 36) return false;
  for (size_t i = 0; i < g.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? g[i] != '-' : !((g[i] >= '0' && g[i] <= '9') || (g[i] >= 'a' && g[i] <= 'f'))) return false;
  }
  return true;
}

std::optional<uint64_t> PositiveNumber(std::string_view text) {
  uint64_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v == 0 || v > (uint64_t{1} << 53)) return std::nullopt;
  return v;
}

class ChromiumWriter {
 public:
  ChromiumWrite Write(const OutlineNode& root, const ChromiumKept* kept) {
    Place(root, kept);
    for (const Root& r : roots_)
      for (const Item& i : r.Children) Reserve(i);
    for (const Root& r : roots_)
      if (r.Kept) Reserve({nullptr, r.Kept});
    nextId_ = std::max<uint64_t>(nextId_, 3);

    out_.Json.reserve(256 * (CountOutline(root).Links + 16));
    std::string& o = out_.Json;
    o += "{\n   \"checksum\": \"";
    const size_t checksumAt = o.size();
    o += std::string(32, '0') + "\",\n   \"roots\": {\n";
    for (size_t r = 0; r < 3; ++r) {
      o += "      ";
      AppendJsonString(o, kRoots[r].Key);
      o += ": ";
      WriteRoot(roots_[r], r);
      o += r < 2 || (kept && !kept->RootsExtra.empty()) ? ",\n" : "\n";
    }
    if (kept && !kept->RootsExtra.empty()) o += "      " + kept->RootsExtra + "\n";
    o += "   },\n   \"version\": 1";
    if (kept && !kept->Extra.empty()) o += ",\n   " + kept->Extra;
    o += "\n}\n";
    o.replace(checksumAt, 32, checksum_.Hex());
    if (separators_) out_.Refused.push_back({0, "no-separators", std::to_string(separators_) + " separators left out: Chromium has none"});
    if (descriptions_)
      out_.Refused.push_back({0, "no-descriptions", std::to_string(descriptions_) + " descriptions left out: Chromium keeps none"});
    return std::move(out_);
  }

 private:
  struct Item {
    const OutlineNode* Node;
    const ChromiumKept* Kept;
  };
  struct Root {
    const OutlineNode* Folder = nullptr;
    const ChromiumKept* Kept = nullptr;
    std::vector<Item> Children;
  };
  // A folder being written.
  struct Frame {
    const std::vector<Item>* Owned;  // a root's list, made up by Place
    const OutlineNode* Node;
    const ChromiumKept* Kept;
    size_t Next = 0;
    bool Any = false;
    std::string Indent;  // of the folder's members
    std::string Id, Title;
  };
  Root roots_[3];
  ChromiumWrite out_;
  ChromiumChecksum checksum_;
  std::unordered_set<uint64_t> reserved_, usedIds_;
  std::unordered_set<std::string> usedGuids_;
  uint64_t nextId_ = 0;
  size_t separators_ = 0, descriptions_ = 0;
  std::mt19937_64 random_{std::random_device{}()};
  const int64_t now_ = static_cast<int64_t>(std::time(nullptr));

  static const ChromiumKept* KeptChild(const ChromiumKept* k, const OutlineNode& parent, size_t i) {
    if (!k || k->Children.size() != parent.Children.size()) return nullptr;
    return &k->Children[i];
  }

  // Which top-level node goes where: the toolbar folder (marked, else named)
  // and the folders named after the other roots give their roots; every
  // other node goes into Other bookmarks, in document order.
  void Place(const OutlineNode& root, const ChromiumKept* kept) {
    const auto& top = root.Children;
    size_t bar = top.size();
    for (size_t i = 0; i < top.size() && bar == top.size(); ++i)
      if (IsToolbarFolder(top[i])) bar = i;
    for (size_t i = 0; i < top.size() && bar == top.size(); ++i)
      if (top[i].Kind == NodeKind::Folder && EqualNoCase(top[i].Title, kRoots[0].Title)) bar = i;
    for (size_t i = 0; i < top.size(); ++i) {
      const OutlineNode& n = top[i];
      const ChromiumKept* k = KeptChild(kept, root, i);
      size_t r = 3;
      if (i == bar) r = 0;
      else if (n.Kind == NodeKind::Folder && !roots_[1].Folder && EqualNoCase(n.Title, kRoots[1].Title)) r = 1;
      else if (n.Kind == NodeKind::Folder && !roots_[2].Folder && EqualNoCase(n.Title, kRoots[2].Title)) r = 2;
      if (r == 3) {
        roots_[1].Children.push_back({&n, k});
        continue;
      }
      roots_[r].Folder = &n;
      roots_[r].Kept = k;
      for (size_t c = 0; c < n.Children.size(); ++c) roots_[r].Children.push_back({&n.Children[c], KeptChild(k, n, c)});
    }
  }

  void Reserve(const Item& top) {
    std::vector<Item> stack{top};
    while (!stack.empty()) {
      const Item it = stack.back();
      stack.pop_back();
      if (it.Kept)
        if (const auto id = PositiveNumber(it.Kept->Id)) reserved_.insert(*id), nextId_ = std::max(nextId_, *id);
      if (!it.Node) continue;
      for (size_t c = 0; c < it.Node->Children.size(); ++c)
        stack.push_back({&it.Node->Children[c], KeptChild(it.Kept, *it.Node, c)});
    }
  }

  std::string Id(const ChromiumKept* k) {
    if (k)
      if (const auto id = PositiveNumber(k->Id); id && usedIds_.insert(*id).second) return k->Id;
    return std::to_string(++nextId_);
  }

  std::string Guid(const ChromiumKept* k, const char* fixed = nullptr) {
    if (k && IsLowerGuid(k->Guid) && usedGuids_.insert(k->Guid).second) return k->Guid;
    if (fixed && usedGuids_.insert(fixed).second) return fixed;
    for (;;) {
      const uint64_t a = random_(), b = random_();
      unsigned char bytes[16];
      for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(a >> (8 * i)), bytes[8 + i] = static_cast<unsigned char>(b >> (8 * i));
      bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
      bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // the RFC 4122 variant
      static const char kHex[] = "0123456789abcdef";
      std::string g;
      for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) g += '-';
        g += kHex[bytes[i] >> 4];
        g += kHex[bytes[i] & 15];
      }
      if (usedGuids_.insert(g).second) return g;
    }
  }

  std::string Date(const OutlineNode* n, const char* attribute, bool nowWhenMissing) {
    if (n)
      if (const std::string* raw = FindAttribute(*n, attribute))
        if (const auto seconds = UnixSecondsFromDate(*raw)) return UnixToChromiumDate(*seconds);
    return nowWhenMissing ? UnixToChromiumDate(now_) : "0";
  }

  void Member(std::string& o, const std::string& indent, const char* key, std::string_view value, bool last = false) {
    o += indent;
    AppendJsonString(o, key);
    o += ": ";
    AppendJsonString(o, value);
    o += last ? "\n" : ",\n";
  }

  // The members after "children" (a folder) or all of them (a link).
  void Values(std::string& o, const std::string& indent, const OutlineNode* n, const ChromiumKept* k, const std::string& id,
              const std::string& title, bool folder) {
    Member(o, indent, "date_added", Date(n, "ADD_DATE", true));
    if (folder) Member(o, indent, "date_modified", Date(n, "LAST_MODIFIED", false));
    Member(o, indent, "guid", Guid(k, nullptr));
    Member(o, indent, "id", id);
    if (k && !k->Extra.empty()) o += indent + k->Extra + ",\n";
    Member(o, indent, "name", title);
    if (folder) {
      Member(o, indent, "type", "folder", true);
      return;
    }
    Member(o, indent, "type", "url");
    Member(o, indent, "url", n->Address, true);
  }

  void WriteRoot(const Root& root, size_t which) {
    std::string& o = out_.Json;
    const std::string id = root.Kept ? Id(root.Kept) : Id(nullptr);
    const std::u16string title16 = Utf8ToUtf16(kRoots[which].Title);
    checksum_.Folder(id, title16);
    const std::string guid = Guid(root.Kept, kRoots[which].Guid);
    std::vector<Frame> stack;
    stack.push_back({&root.Children, root.Folder, root.Kept, 0, false, "         ", id, kRoots[which].Title});
    o += "{\n         \"children\": [ ";
    while (!stack.empty()) {
      Frame& f = stack.back();
      const size_t count = f.Owned ? f.Owned->size() : f.Node->Children.size();
      if (f.Next == count) {
        o += " ],\n";
        if (stack.size() == 1) {
          Member(o, f.Indent, "date_added", Date(f.Node, "ADD_DATE", true));
          Member(o, f.Indent, "date_modified", Date(f.Node, "LAST_MODIFIED", false));
          Member(o, f.Indent, "guid", guid);
          Member(o, f.Indent, "id", f.Id);
          if (f.Kept && !f.Kept->Extra.empty()) o += f.Indent + f.Kept->Extra + ",\n";
          Member(o, f.Indent, "name", f.Title);
          Member(o, f.Indent, "type", "folder", true);
        } else {
          Values(o, f.Indent, f.Node, f.Kept, f.Id, f.Title, true);
        }
        o += f.Indent.substr(3) + "}";
        stack.pop_back();
        continue;
      }
      const size_t i = f.Next++;
      const Item item = f.Owned ? (*f.Owned)[i] : Item{&f.Node->Children[i], KeptChild(f.Kept, *f.Node, i)};
      const OutlineNode& n = *item.Node;
      if (!n.Description.empty()) ++descriptions_;
      if (n.Kind == NodeKind::Separator || n.Kind == NodeKind::Opaque) {
        separators_ += n.Kind == NodeKind::Separator;
        continue;
      }
      if (n.Kind == NodeKind::Link && !ChromiumKeepsAddress(n.Address)) {
        out_.Refused.push_back({0, "refused-address", PathOf(stack) + ": \"" + n.Title + "\" " + n.Address});
        continue;
      }
      const std::u16string title16 = Utf16Text(n.Title);
      const std::string title = Utf16ToUtf8(title16);
      const std::string childId = Id(item.Kept);
      const std::string inner = f.Indent + "   ";
      o += f.Any ? ", {\n" : "{\n";
      f.Any = true;
      if (n.Kind == NodeKind::Link) {
        ++out_.Written.Links;
        checksum_.Url(childId, title16, n.Address);
        Values(o, inner, &n, item.Kept, childId, title, false);
        o += f.Indent + "}";
        continue;
      }
      ++out_.Written.Folders;
      if (stack.size() > kChromiumMaxFolderDepth)
        throw StoreError("Folders nest deeper than " + std::to_string(kChromiumMaxFolderDepth) +
                         " levels, more than Chromium reads: " + PathOf(stack));
      checksum_.Folder(childId, title16);
      o += inner + "\"children\": [ ";
      stack.push_back({nullptr, &n, item.Kept, 0, false, inner, childId, title});
    }
  }

  static std::string PathOf(const std::vector<Frame>& stack) {
    std::string path;
    for (size_t i = 0; i < stack.size(); ++i) path += (i ? "/" : "") + EscapePathStep(stack[i].Title);
    return path;
  }
};

}  // namespace

struct ChromiumChecksum::State {
  md5_ctx Md5;
};

ChromiumChecksum::ChromiumChecksum() : s_(new State) { md5_init(&s_->Md5); }
ChromiumChecksum::~ChromiumChecksum() { delete s_; }

void ChromiumChecksum::Folder(std::string_view id, std::u16string_view title) {
  md5_update(&s_->Md5, id.size(), reinterpret_cast<const uint8_t*>(id.data()));
  std::string le;
  le.reserve(title.size() * 2);
  for (char16_t c : title) le += static_cast<char>(c & 0xFF), le += static_cast<char>(c >> 8);
  md5_update(&s_->Md5, le.size(), reinterpret_cast<const uint8_t*>(le.data()));
  md5_update(&s_->Md5, 6, reinterpret_cast<const uint8_t*>("folder"));
}

void ChromiumChecksum::Url(std::string_view id, std::u16string_view title, std::string_view url) {
  md5_update(&s_->Md5, id.size(), reinterpret_cast<const uint8_t*>(id.data()));
  std::string le;
  le.reserve(title.size() * 2);
  for (char16_t c : title) le += static_cast<char>(c & 0xFF), le += static_cast<char>(c >> 8);
  md5_update(&s_->Md5, le.size(), reinterpret_cast<const uint8_t*>(le.data()));
  md5_update(&s_->Md5, 3, reinterpret_cast<const uint8_t*>("url"));
  md5_update(&s_->Md5, url.size(), reinterpret_cast<const uint8_t*>(url.data()));
}

std::string ChromiumChecksum::Hex() {
  uint8_t digest[MD5_DIGEST_SIZE];
  md5_digest(&s_->Md5, sizeof digest, digest);  // also starts the sum anew
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (uint8_t b : digest) hex += kHex[b >> 4], hex += kHex[b & 15];
  return hex;
}

bool ChromiumKeepsAddress(std::string_view url) {
  if (url.empty() || url.size() > kMaxUrlLength) return false;
  const size_t colon = url.find(':');
  if (colon == 0 || colon == std::string_view::npos) return false;
  auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  if (!alpha(url[0])) return false;
  for (size_t i = 1; i < colon; ++i) {
    const char c = url[i];
    if (!alpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
  }
  const std::string scheme = LowerAscii(url.substr(0, colon));
  if (scheme != "http" && scheme != "https" && scheme != "ftp" && scheme != "ws" && scheme != "wss") return true;
  // A web address needs a host: what stands after the slashes, up to the
  // path, query or fragment, less any user name.
  std::string_view rest = url.substr(colon + 1);
  while (!rest.empty() && (rest.front() == '/' || rest.front() == '\\')) rest.remove_prefix(1);
  std::string_view host = rest.substr(0, rest.find_first_of("/\\?#"));
  if (const size_t at = host.rfind('@'); at != std::string_view::npos) host.remove_prefix(at + 1);
  if (const size_t port = host.rfind(':'); port != std::string_view::npos && host.find(']') == std::string_view::npos)
    host = host.substr(0, port);
  if (host.empty()) return false;
  for (char c : host)
    if (static_cast<unsigned char>(c) <= ' ' || c == '<' || c == '>' || c == '^' || c == '|' || c == '"') return false;
  return true;
}

std::optional<int64_t> ChromiumDateToUnix(std::string_view text) {
  int64_t micro = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), micro);
  if (ec != std::errc() || end != text.data() + text.size() || micro <= 0) return std::nullopt;
  const int64_t seconds = micro / 1000000 - kSecondsFrom1601To1970;
  if (seconds <= 0) return std::nullopt;
  return seconds;
}

std::string UnixToChromiumDate(int64_t seconds) {
  if (seconds <= 0 || seconds > (INT64_MAX / 1000000) - kSecondsFrom1601To1970) return "0";
  return std::to_string((seconds + kSecondsFrom1601To1970) * 1000000);
}

StoreRead ReadChromiumBookmarks(std::string_view json) { return ChromiumReader().Read(json); }

ChromiumWrite WriteChromiumBookmarks(const OutlineNode& root, const ChromiumKept* kept) {
  return ChromiumWriter().Write(root, kept);
}

}  // namespace quillet
