#include "stores/ChromiumBookmarks.h"

#include <nettle/md5.h>

#include <charconv>
#include <deque>
#include <map>
#include <memory>
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

std::string Dump(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

// Members as the file gives them back: sorted by key, the last of a key
// winning, each as its JSON text.
using Members = std::map<std::string, std::string>;

std::string MembersText(const Members& members) {
  std::string out;
  for (const auto& [key, value] : members) {
    if (!out.empty()) out += ", ";
    out += Dump(Json(key)) + ": " + value;
  }
  return out;
}

// One object of the file as the reader needs it: the members it knows, a
// member that is no string counting as missing, the children, and the
// members no writer of ours knows.
struct RawNode {
  bool IsObject = false;
  // Views into the file's text, or into ChromiumParse::Decoded.
  std::optional<std::string_view> Id, Guid, Name, Type, Url, Added, Modified;
  enum class Kids : uint8_t { None, List, Other } Children = Kids::None;
  std::vector<uint32_t> Kids;
  Members Extra;
};

constexpr uint32_t kNoRoot = UINT32_MAX, kRootNotObject = UINT32_MAX - 1;

// What a reading of the file gives: every object, and where the roots are.
struct ChromiumParse {
  // Nodes are named by their index: the list may move as it grows.
  std::vector<RawNode> Nodes;
  bool TopIsObject = false, HasRoots = false;
  std::optional<std::string> Checksum;
  Members TopExtra, RootsExtra;
  uint32_t Roots[3] = {kNoRoot, kNoRoot, kNoRoot};

  // Strings that are not as the file's text holds them (escapes decoded).
  std::deque<std::string> Decoded;

  std::string_view Keep(std::string text) { return Decoded.emplace_back(std::move(text)); }

  uint32_t NewNode() {
    Nodes.emplace_back();
    return static_cast<uint32_t>(Nodes.size() - 1);
  }
  // Another "roots" member: the last one counts.
  void ResetRoots(bool isObject) {
    HasRoots = isObject;
    std::fill(std::begin(Roots), std::end(Roots), kNoRoot);
    RootsExtra.clear();
  }
  // Which of the three roots a member of "roots" names, or 3.
  static size_t RootIndex(std::string_view key) {
    for (size_t r = 0; r < 3; ++r)
      if (key == kRoots[r].Key) return r;
    return 3;
  }
  static std::optional<std::string_view>* Slot(RawNode& n, std::string_view key) {
    if (key == "id") return &n.Id;
    if (key == "guid") return &n.Guid;
    if (key == "name") return &n.Name;
    if (key == "type") return &n.Type;
    if (key == "url") return &n.Url;
    if (key == "date_added") return &n.Added;
    if (key == "date_modified") return &n.Modified;
    return nullptr;
  }
};

// The parser's events into RawNodes: the JSON library's own lexer, without
// a document of every value. Members no writer of ours knows are the only
// values built whole, to give their text as the library writes it.
class ChromiumSax {
 public:
  using string_t = Json::string_t;

  explicit ChromiumSax(ChromiumParse& p) : P(p) {}
  ChromiumParse& P;

  bool null() { return Value(Event::Scalar, nullptr) && Captured([&](auto& d) { return d.null(); }); }
  bool boolean(bool v) { return Value(Event::Scalar, nullptr) && Captured([&](auto& d) { return d.boolean(v); }); }
  bool number_integer(Json::number_integer_t v) {
    return Value(Event::Scalar, nullptr) && Captured([&](auto& d) { return d.number_integer(v); });
  }
  bool number_unsigned(Json::number_unsigned_t v) {
    return Value(Event::Scalar, nullptr) && Captured([&](auto& d) { return d.number_unsigned(v); });
  }
  bool number_float(Json::number_float_t v, const string_t& text) {
    return Value(Event::Scalar, nullptr) && Captured([&](auto& d) { return d.number_float(v, text); });
  }
  bool string(string_t& v) { return Value(Event::String, &v) && Captured([&](auto& d) { return d.string(v); }); }
  bool binary(Json::binary_t& v) { return Value(Event::Scalar, nullptr) && Captured([&](auto& d) { return d.binary(v); }); }
  bool start_object(std::size_t n) {
    return Value(Event::Open, nullptr) && Captured([&](auto& d) { return d.start_object(n); });
  }
  bool start_array(std::size_t n) {
    return Value(Event::Open, nullptr, true) && Captured([&](auto& d) { return d.start_array(n); });
  }
  bool end_object() { return Close(false); }
  bool end_array() { return Close(true); }
  bool key(string_t& k) {
    if (capture_) return capture_->key(k);
    if (skipDepth_ == 0) key_ = k;
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

 private:
  enum class Event : uint8_t { Scalar, String, Open };
  enum class In : uint8_t { Doc, Roots, Node, Children };
  struct Frame {
    In Kind;
    uint32_t Node;
  };
  std::vector<Frame> stack_;
  std::string key_;
  // Inside a value that is skipped or built whole: how many of its
  // containers are open.
  size_t skipDepth_ = 0;
  // The value being built whole, and where its text goes.
  std::unique_ptr<nlohmann::detail::json_sax_dom_parser<Json>> capture_;
  Json captured_;
  std::string* captureTo_ = nullptr;
  bool capturing_ = false;  // the event at hand goes to capture_

  void StartCapture(std::string& to) {
    captured_ = Json();
    capture_ = std::make_unique<nlohmann::detail::json_sax_dom_parser<Json>>(captured_, false);
    captureTo_ = &to;
  }

  // Hands the event to the value being built, and ends it when it is whole.
  template <class Forward>
  bool Captured(Forward forward) {
    if (!capturing_) return true;
    capturing_ = false;
    if (!forward(*capture_)) return false;
    if (skipDepth_ == 0) FinishCapture();
    return true;
  }

  void FinishCapture() {
    *captureTo_ = Dump(captured_);
    capture_.reset();
    captureTo_ = nullptr;
  }

  bool Close(bool array) {
    if (skipDepth_ > 0) {
      --skipDepth_;
      if (capture_) {
        if (!(array ? capture_->end_array() : capture_->end_object())) return false;
        if (skipDepth_ == 0) FinishCapture();
      }
      return true;
    }
    stack_.pop_back();
    return true;
  }

  // A value begins (or, inside a skipped one, any event).
  bool Value(Event e, string_t* text, bool array = false) {
    if (skipDepth_ > 0) {
      if (e == Event::Open) ++skipDepth_;
      capturing_ = capture_ != nullptr;
      return true;
    }
    auto skip = [&] {
      if (e == Event::Open) skipDepth_ = 1;
    };
    auto capture = [&](std::string& to) {
      StartCapture(to);
      capturing_ = true;
      skip();
    };
    if (stack_.empty()) {
      // A file that holds anything but one object is no Chromium file.
      if (e != Event::Open || array || P.TopIsObject) return false;
      P.TopIsObject = true;
      stack_.push_back({In::Doc, 0});
      return true;
    }
    const Frame f = stack_.back();
    switch (f.Kind) {
      case In::Doc:
        if (key_ == "roots") {
          P.ResetRoots(e == Event::Open && !array);
          if (P.HasRoots) stack_.push_back({In::Roots, 0});
          else skip();
        } else if (key_ == "checksum") {
          P.Checksum = e == Event::String ? std::optional<std::string>(*text) : std::nullopt;
          skip();
        } else if (key_ == "version") {
          skip();
        } else {
          capture(P.TopExtra[key_]);
        }
        return true;
      case In::Roots:
        if (const size_t r = ChromiumParse::RootIndex(key_); r < 3) {
          if (e == Event::Open && !array) {
            P.Roots[r] = P.NewNode();
            P.Nodes[P.Roots[r]].IsObject = true;
            stack_.push_back({In::Node, P.Roots[r]});
          } else {
            P.Roots[r] = kRootNotObject;
            skip();
          }
          return true;
        }
        capture(P.RootsExtra[key_]);
        return true;
      case In::Node: {
        RawNode& n = P.Nodes[f.Node];
        if (std::optional<std::string_view>* slot = ChromiumParse::Slot(n, key_)) {
          *slot = e == Event::String ? std::optional<std::string_view>(P.Keep(std::move(*text))) : std::nullopt;
          skip();
        } else if (key_ == "children") {
          n.Kids.clear();
          n.Children = e == Event::Open && array ? RawNode::Kids::List : RawNode::Kids::Other;
          if (n.Children == RawNode::Kids::List) stack_.push_back({In::Children, f.Node});
          else skip();
        } else {
          capture(n.Extra[key_]);
        }
        return true;
      }
      case In::Children: {
        const uint32_t child = P.NewNode();
        P.Nodes[f.Node].Kids.push_back(child);
        if (e == Event::Open && !array) {
          P.Nodes[child].IsObject = true;
          stack_.push_back({In::Node, child});
        } else {
          skip();
        }
        return true;
      }
    }
    return true;
  }
};

// The usual file read straight from its text, without the JSON library's
// lexer: strict, and giving up (false) on whatever it does not take exactly
// as the library does (escapes it does not know, numbers other than short
// integers, a byte order mark), so that the library reads such a text.
class ChromiumScan {
 public:
  ChromiumScan(std::string_view text, ChromiumParse& p) : t_(text), P(p) {}

  bool Run() {
    Ws();
    if (!Eat('{')) return false;
    P.TopIsObject = true;
    if (!Object([&](std::string_view key) { return DocMember(key); })) return false;
    Ws();
    return i_ == t_.size();
  }

 private:
  std::string_view t_;
  size_t i_ = 0;
  ChromiumParse& P;

  void Ws() {
    while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\n' || t_[i_] == '\r' || t_[i_] == '\t')) ++i_;
  }
  bool At(char c) const { return i_ < t_.size() && t_[i_] == c; }
  bool Eat(char c) {
    if (!At(c)) return false;
    ++i_;
    return true;
  }

  // The members of an object whose '{' was eaten, each handed with the
  // reader at its value.
  template <class Member>
  bool Object(Member member) {
    Ws();
    if (Eat('}')) return true;
    std::string_view key;
    for (;;) {
      Ws();
      if (!Text(key)) return false;
      Ws();
      if (!Eat(':')) return false;
      Ws();
      if (!member(key)) return false;
      Ws();
      if (Eat(',')) continue;
      return Eat('}');
    }
  }

  // The elements of an array whose '[' was eaten.
  template <class Element>
  bool Array(Element element) {
    Ws();
    if (Eat(']')) return true;
    for (;;) {
      Ws();
      if (!element()) return false;
      Ws();
      if (Eat(',')) continue;
      return Eat(']');
    }
  }

  static int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }
  bool Hex4(uint32_t& v) {
    if (i_ + 4 > t_.size()) return false;
    v = 0;
    for (int k = 0; k < 4; ++k) {
      const int h = Hex(t_[i_++]);
      if (h < 0) return false;
      v = v << 4 | static_cast<uint32_t>(h);
    }
    return true;
  }

  // A string, as a view into the text when it holds no escape.
  bool Text(std::string_view& out) {
    if (!At('"')) return false;
    bool high = false;
    for (size_t e = i_ + 1; e < t_.size(); ++e) {
      const auto c = static_cast<unsigned char>(t_[e]);
      if (c == '\\' || c < 0x20) break;
      high |= c >= 0x80;
      if (c == '"') {
        out = t_.substr(i_ + 1, e - i_ - 1);
        i_ = e + 1;
        return !high || IsValidUtf8(out);
      }
    }
    std::string decoded;
    if (!String(decoded)) return false;
    out = P.Keep(std::move(decoded));
    return true;
  }

  bool String(std::string& out) {
    out.clear();
    if (!Eat('"')) return false;
    bool high = false;
    size_t plain = i_;
    for (;;) {
      while (i_ < t_.size()) {
        const auto c = static_cast<unsigned char>(t_[i_]);
        if (c == '"' || c == '\\' || c < 0x20) break;
        high |= c >= 0x80;
        ++i_;
      }
      if (i_ >= t_.size() || static_cast<unsigned char>(t_[i_]) < 0x20) return false;
      out.append(t_.substr(plain, i_ - plain));
      if (t_[i_++] == '"') break;
      if (i_ >= t_.size()) return false;
      switch (t_[i_++]) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          uint32_t cp = 0;
          if (!Hex4(cp)) return false;
          if (cp >= 0xDC00 && cp <= 0xDFFF) return false;
          if (cp >= 0xD800 && cp <= 0xDBFF) {
            uint32_t low = 0;
            if (!Eat('\\') || !Eat('u') || !Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          }
          AppendUtf8(out, cp);
          break;
        }
        default:
          return false;
      }
      plain = i_;
    }
    return !high || IsValidUtf8(out);
  }

  // A value passed over, as strictly as it would be read.
  bool Skip() {
    if (At('"')) {
      std::string_view ignored;
      return Text(ignored);
    }
    if (Eat('{')) {
      return Object([&](std::string_view) { return Skip(); });
    }
    if (Eat('[')) return Array([&] { return Skip(); });
    for (std::string_view word : {"true", "false", "null"}) {
      if (t_.substr(i_, word.size()) == word) {
        i_ += word.size();
        return true;
      }
    }
    // Integers short enough for any reading to take alike; anything else is
    // left to the library.
    Eat('-');
    const size_t digits = i_;
    while (i_ < t_.size() && t_[i_] >= '0' && t_[i_] <= '9') ++i_;
    const size_t n = i_ - digits;
    if (n == 0 || n > 18 || (n > 1 && t_[digits] == '0')) return false;
    return !(At('.') || At('e') || At('E'));
  }

  // A value no writer of ours knows: its text as the library writes it.
  bool Capture(std::string& to) {
    const size_t begin = i_;
    if (!Skip()) return false;
    const Json value = Json::parse(t_.substr(begin, i_ - begin), nullptr, false);
    if (value.is_discarded()) return false;
    to = Dump(value);
    return true;
  }

  bool DocMember(std::string_view key) {
    if (key == "roots") {
      P.ResetRoots(At('{'));
      if (!P.HasRoots) return Skip();
      ++i_;
      return Object([&](std::string_view k) { return RootsMember(k); });
    }
    if (key == "checksum") {
      if (!At('"')) {
        P.Checksum.reset();
        return Skip();
      }
      std::string_view text;
      if (!Text(text)) return false;
      P.Checksum = std::string(text);
      return true;
    }
    if (key == "version") return Skip();
    return Capture(P.TopExtra[std::string(key)]);
  }

  bool RootsMember(std::string_view key) {
    const size_t r = ChromiumParse::RootIndex(key);
    if (r == 3) return Capture(P.RootsExtra[std::string(key)]);
    if (!Eat('{')) {
      P.Roots[r] = kRootNotObject;
      return Skip();
    }
    P.Roots[r] = P.NewNode();
    return Node(P.Roots[r]);
  }

  // An object of the tree whose '{' was eaten.
  bool Node(uint32_t id) {
    P.Nodes[id].IsObject = true;
    return Object([&](std::string_view key) {
      RawNode& n = P.Nodes[id];
      if (std::optional<std::string_view>* slot = ChromiumParse::Slot(n, key)) {
        if (!At('"')) {
          slot->reset();
          return Skip();
        }
        std::string_view text;
        if (!Text(text)) return false;
        *slot = text;
        return true;
      }
      if (key == "children") {
        n.Kids.clear();
        if (!Eat('[')) {
          n.Children = RawNode::Kids::Other;
          return Skip();
        }
        n.Children = RawNode::Kids::List;
        return Array([&] {
          const uint32_t child = P.NewNode();
          P.Nodes[id].Kids.push_back(child);
          return Eat('{') ? Node(child) : Skip();
        });
      }
      return Capture(n.Extra[std::string(key)]);
    });
  }
};

void AddDate(OutlineNode& node, const char* attribute, const std::optional<std::string_view>& text) {
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
  StoreRead Read(std::string_view text, bool scan) {
    if (JsonDepth(text) > kMaxJsonDepth) throw StoreError("The Chromium bookmarks nest deeper than Chromium reads.");
    ChromiumParse sax;
    // Every node takes well over this many bytes of text.
    sax.Nodes.reserve(text.size() / 128 + 16);
    if (!scan || !ChromiumScan(text, sax).Run()) {
      sax = ChromiumParse();
      ChromiumSax events(sax);
      if (!Json::sax_parse(text, &events)) sax.TopIsObject = false;
    }
    if (!sax.TopIsObject)
      throw StoreError("This is not a Chromium bookmarks file: it does not hold one JSON object.");
    if (!sax.HasRoots) throw StoreError("This is not a Chromium bookmarks file: it has no \"roots\".");
    nodes_ = &sax.Nodes;

    auto kept = std::make_shared<ChromiumKept>();
    kept->Extra = MembersText(sax.TopExtra);
    kept->RootsExtra = MembersText(sax.RootsExtra);
    for (const auto& [key, value] : sax.RootsExtra)
      problems_.push_back({0, "unknown-root", "roots." + key + " is kept in the file but not read"});

    for (size_t r = 0; r < 3; ++r) {
      const RootSpec& spec = kRoots[r];
      if (sax.Roots[r] == kNoRoot) continue;
      if (sax.Roots[r] == kRootNotObject) {
        problems_.push_back({0, "bad-node", std::string("roots.") + spec.Key + " is not an object"});
        continue;
      }
      OutlineNode folder;
      folder.Title = spec.Title;
      ChromiumKept rootKept;
      ReadTree(sax.Roots[r], folder, rootKept, EscapePathStep(spec.Title));
      if (r == 0) folder.Attributes.emplace_back("PERSONAL_TOOLBAR_FOLDER", "true");
      // Mobile bookmarks are rare on a desktop: an empty root is no folder.
      if (r == 2 && folder.Children.empty() && rootKept.Extra.empty()) continue;
      out_.Root.Children.push_back(std::move(folder));
      kept->Children.push_back(std::move(rootKept));
    }

    const std::string actual = checksum_.Hex();
    if (!sax.Checksum)
      problems_.insert(problems_.begin(), {0, "no-checksum", "the file has no checksum; read all the same"});
    else if (*sax.Checksum != actual)
      problems_.insert(problems_.begin(),
                       {0, "wrong-checksum", "the checksum is " + *sax.Checksum + " where the bookmarks give " + actual +
                                                 "; read all the same"});
    out_.Problems = std::move(problems_);
    out_.Kept = std::move(kept);
    return std::move(out_);
  }

 private:
  StoreRead out_;
  std::vector<StoreProblem> problems_;
  ChromiumChecksum checksum_;
  std::vector<RawNode>* nodes_ = nullptr;

  // A root and everything in it, depth first: the checksum's order. An
  // explicit stack: no nesting can exhaust the call stack.
  void ReadTree(uint32_t root, OutlineNode& rootOut, ChromiumKept& rootKept, const std::string& rootPath) {
    struct Frame {
      uint32_t Node;
      OutlineNode* Out;
      ChromiumKept* Kept;
      std::string Path;  // the folder path of a folder, of the folder around a link
    };
    std::vector<RawNode>& nodes = *nodes_;
    std::vector<Frame> stack{{root, &rootOut, &rootKept, rootPath}};
    std::vector<uint32_t> items;
    while (!stack.empty()) {
      Frame f = std::move(stack.back());
      stack.pop_back();
      RawNode& node = nodes[f.Node];
      OutlineNode& out = *f.Out;
      ChromiumKept& kept = *f.Kept;
      if (node.Id) kept.Id = *node.Id;
      if (node.Guid) kept.Guid = *node.Guid;
      kept.Extra = MembersText(node.Extra);
      const std::string_view name = node.Name ? *node.Name : std::string_view();
      if (f.Out != &rootOut) out.Title = name;
      AddDate(out, "ADD_DATE", node.Added);
      if (out.Kind == NodeKind::Link) {
        out.Address = *node.Url;
        checksum_.Url(kept.Id, Utf8ToUtf16(name), out.Address);
        continue;
      }
      AddDate(out, "LAST_MODIFIED", node.Modified);
      checksum_.Folder(kept.Id, Utf8ToUtf16(name));

      if (node.Children == RawNode::Kids::None) continue;
      if (node.Children == RawNode::Kids::Other) {
        problems_.push_back({0, "bad-node", f.Path + ": its children are not a list"});
        continue;
      }
      items.clear();
      for (uint32_t c : node.Kids)
        if (Usable(nodes[c], f.Path)) items.push_back(c);
      // Sized once, so that the pointers on the stack stay good.
      out.Children.resize(items.size());
      kept.Children.resize(items.size());
      for (size_t i = items.size(); i-- > 0;) {
        OutlineNode& child = out.Children[i];
        const RawNode& c = nodes[items[i]];
        const bool folder = *c.Type == "folder";
        child.Kind = folder ? NodeKind::Folder : NodeKind::Link;
        // A link's path is never asked for: it has no children.
        std::string path = folder ? f.Path + "/" + EscapePathStep(std::string(c.Name.value_or(""))) : std::string();
        stack.push_back({items[i], &child, &kept.Children[i], std::move(path)});
      }
    }
  }

  bool Usable(const RawNode& c, const std::string& path) {
    if (!c.IsObject) {
      problems_.push_back({0, "bad-node", path + ": an entry that is not an object"});
      return false;
    }
    const std::string what = path + ": \"" + std::string(c.Name.value_or("")) + "\"";
    if (!c.Type || (*c.Type != "url" && *c.Type != "folder")) {
      problems_.push_back({0, "unknown-node", what + " is of no type Chromium knows"});
      return false;
    }
    if (*c.Type == "url" && !c.Url) {
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

    // Generous: pages reserved but never written cost nothing, a string
    // grown twice copies all of it.
    const OutlineCounts counts = CountOutline(root);
    out_.Json.reserve(512 * (counts.Links + counts.Folders + 16));
    usedIds_.reserve(counts.Links + counts.Folders + 16);
    usedGuids_.reserve(counts.Links + counts.Folders + 16);
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
  std::unordered_set<uint64_t> usedIds_;
  // Over the kept guids, the roots' fixed ones and those made here (in
  // madeGuids_), all of which outlive the writer's use of them.
  std::unordered_set<std::string_view> usedGuids_;
  std::deque<std::string> madeGuids_;
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
        if (const auto id = PositiveNumber(it.Kept->Id)) nextId_ = std::max(nextId_, *id);
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
      if (!usedGuids_.count(g)) {
        usedGuids_.insert(madeGuids_.emplace_back(g));
        return g;
      }
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

StoreRead ReadChromiumBookmarks(std::string_view json) { return ChromiumReader().Read(json, true); }

StoreRead ReadChromiumBookmarksByLibrary(std::string_view json) { return ChromiumReader().Read(json, false); }

ChromiumWrite WriteChromiumBookmarks(const OutlineNode& root, const ChromiumKept* kept) {
  return ChromiumWriter().Write(root, kept);
}

}  // namespace quillet
