#include "viewer/text/Symbols.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace quillet {

namespace {

struct Entry {
  std::u16string_view Name;
  Sy Symbol;
};

std::u16string_view U16(std::string_view ascii, std::vector<std::u16string>& store) {
  store.emplace_back(ascii.begin(), ascii.end());
  return store.back();
}

// Sorted name tables, built once from the lists in the header.
struct Tables {
  std::vector<std::u16string> store;
  std::vector<Entry> tags;
  std::vector<Entry> attributes;

  Tables() {
    store.reserve(200);
#define QUILLET_TAG(name, text) tags.push_back({U16(text, store), Sy::name});
    QUILLET_PAIRED_TAGS(QUILLET_TAG)
    QUILLET_START_ONLY_TAGS(QUILLET_TAG)
#undef QUILLET_TAG
#define QUILLET_ATTR(name, text) attributes.push_back({U16(text, store), Sy::name});
    QUILLET_ATTRIBUTES(QUILLET_ATTR)
#undef QUILLET_ATTR
    attributes.push_back({U16("TEXT", store), Sy::Text});
    attributes.push_back({U16("SELECTED", store), Sy::Selected});
    attributes.push_back({U16("WRAP", store), Sy::Wrap});
    const auto byName = [](const Entry& a, const Entry& b) { return a.Name < b.Name; };
    std::sort(tags.begin(), tags.end(), byName);
    std::sort(attributes.begin(), attributes.end(), byName);
  }

  static Sy Find(const std::vector<Entry>& table, std::u16string_view name, Sy none) {
    const auto it = std::lower_bound(table.begin(), table.end(), name,
                                     [](const Entry& e, std::u16string_view n) { return e.Name < n; });
    return it != table.end() && it->Name == name ? it->Symbol : none;
  }
};

const Tables& TheTables() {
  static const Tables tables;  // immutable once built
  return tables;
}

constexpr Sy kFirstPaired = Sy::Html;
constexpr Sy kFirstStartOnly = Sy::LI;

}  // namespace

Sy StartTagSymbol(std::u16string_view upperName) {
  return Tables::Find(TheTables().tags, upperName, Sy::UnknownTag);
}

Sy EndTagSymbol(std::u16string_view upperName) {
  const Sy s = StartTagSymbol(upperName);
  return s != Sy::UnknownTag && HasEndTag(s) ? EndOf(s) : Sy::UnknownTag;
}

Sy AttributeSymbol(std::u16string_view upperName) {
  return Tables::Find(TheTables().attributes, upperName, Sy::UnknownAttr);
}

bool HasEndTag(Sy start) {
  return start >= kFirstPaired && start < kFirstStartOnly &&
         (static_cast<int>(start) - static_cast<int>(kFirstPaired)) % 2 == 0;
}

bool IsEndTag(Sy s) {
  return s > kFirstPaired && s < kFirstStartOnly &&
         (static_cast<int>(s) - static_cast<int>(kFirstPaired)) % 2 == 1;
}

bool KeepsAttributes(Sy tag) {
  switch (tag) {
    case Sy::Body: case Sy::P: case Sy::BR: case Sy::H: case Sy::HR: case Sy::Base:
    case Sy::OL: case Sy::UL: case Sy::Img: case Sy::A: case Sy::Table: case Sy::TD:
    case Sy::TR: case Sy::TH: case Sy::Caption: case Sy::Input: case Sy::Form:
    case Sy::TextArea: case Sy::Select: case Sy::Option: case Sy::Font: case Sy::BaseFont:
    case Sy::Map: case Sy::Area: case Sy::FrameSet: case Sy::Frame: case Sy::Script:
    case Sy::Div: case Sy::BgSound: case Sy::Wrap: case Sy::Meta:
      return true;
    default:
      return false;
  }
}

std::string_view SymbolName(Sy s) {
  switch (s) {
    case Sy::None: return "none";
    case Sy::Text: return "text";
    case Sy::OtherChar: return "other";
    case Sy::UnknownTag: return "unknown tag";
    case Sy::Eof: return "end of input";
    case Sy::Eol: return "line end";
    case Sy::UnknownAttr: return "unknown attribute";
#define QUILLET_NAME_PAIR(name, text) \
  case Sy::name: return text;         \
  case Sy::name##End: return "/" text;
    QUILLET_PAIRED_TAGS(QUILLET_NAME_PAIR)
#undef QUILLET_NAME_PAIR
#define QUILLET_NAME_ONE(name, text) \
  case Sy::name: return text;
    QUILLET_START_ONLY_TAGS(QUILLET_NAME_ONE)
    QUILLET_ATTRIBUTES(QUILLET_NAME_ONE)
#undef QUILLET_NAME_ONE
  }
  return "?";
}

}  // namespace quillet
