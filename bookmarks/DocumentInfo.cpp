#include "bookmarks/DocumentInfo.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "bookmarks/BookmarkFormat.h"
#include "platform/TextCodec.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

bool IsWebAddress(std::string_view address) {
  while (!address.empty() && IsBlankText(address.substr(0, 1))) address.remove_prefix(1);
  const std::string scheme = LowerAscii(address.substr(0, address.find(':') + 1));
  return scheme == "http:" || scheme == "https:";
}

// Bytes of the document as UTF-8. Read as UTF-8, a byte that is not UTF-8
// shows as its Windows-1252 character.
std::string ShownText(std::string_view bytes, TextEncoding encoding) {
  return Utf16ToUtf8(DecodeToUtf16(bytes, encoding));
}

// Text safe to print on a terminal: control characters (a NUL, an escape)
// become U+FFFD; a tab stays.
std::string Printable(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const size_t n = DecodeUtf8At(utf8, i, cp);
    if (n == 0 || (cp < 0x20 && cp != '\t') || (cp >= 0x7F && cp < 0xA0))
      out += "\xEF\xBF\xBD";
    else
      out.append(utf8, i, n);
    i += std::max<size_t>(n, 1);
  }
  return out;
}

std::string_view DialectName(Dialect d) {
  switch (d) {
    case Dialect::Quillet: return "quillet";
    case Dialect::Browser: return "browser";
    case Dialect::Mixed: return "mixed";
    case Dialect::None: break;
  }
  return "none";
}

std::string_view DialectWords(Dialect d) {
  switch (d) {
    case Dialect::Quillet: return "Quillet layout (each heading inside its list)";
    case Dialect::Browser: return "browser layout (each heading before its list)";
    case Dialect::Mixed: return "mixed (headings inside and before their lists)";
    case Dialect::None: break;
  }
  return "none (no folders)";
}

}  // namespace

DocumentInfo DescribeDocument(const BookmarkTree& tree) {
  DocumentInfo info;
  info.Layout = tree.DocumentDialect();
  info.Encoding = tree.Encoding();
  std::unordered_set<std::string_view> seen;
  // An explicit stack, whose size is the depth: no nesting in a document
  // can exhaust the call stack, nor cost more than one step per node.
  std::vector<std::pair<NodeId, size_t>> stack{{kRootNode, 0}};
  while (!stack.empty()) {
    auto& [folder, next] = stack.back();
    const std::vector<NodeId>& children = tree.Children(folder);
    if (next == children.size()) {
      stack.pop_back();
      continue;
    }
    const NodeId id = children[next++];
    switch (tree.Kind(id)) {
      case NodeKind::Folder:
        ++info.Folders;
        info.Depth = std::max(info.Depth, stack.size());
        stack.emplace_back(id, 0);
        break;
      case NodeKind::Link: {
        ++info.Links;
        const std::string_view raw = tree.RawAddress(id);
        if (!raw.empty() && raw[0] != '#' && !seen.insert(raw).second) ++info.DuplicateLinks;
        std::string address = tree.Address(id);
        if (!IsWebAddress(address)) info.NonWebLinks.push_back({tree.ItemLine(id) + 1, std::move(address)});
        break;
      }
      case NodeKind::Separator: ++info.Separators; break;
      case NodeKind::Opaque: break;
    }
    if (tree.Kind(id) != NodeKind::Opaque && tree.HasDescription(id)) ++info.Descriptions;
  }
  // A document with a line that is not UTF-8 is read as Windows-1252; where
  // its other lines say it was meant to be UTF-8, its lines show best as
  // UTF-8 where they are.
  const bool meantUtf8 = std::any_of(tree.Diagnostics().begin(), tree.Diagnostics().end(), [](const Diagnostic& d) {
    return d.Kind == DiagnosticKind::InvalidUtf8;
  });
  for (Diagnostic d : tree.Diagnostics()) {
    d.Text = ShownText(d.Text, meantUtf8 ? TextEncoding::Utf8 : tree.Encoding());
    info.Problems.push_back(std::move(d));
  }
  return info;
}

std::string DocumentInfoText(const DocumentInfo& info) {
  std::string out;
  auto figure = [&](std::string_view name, size_t n) { out.append(name).append(": ").append(std::to_string(n)) += '\n'; };
  out.append("Dialect: ").append(DialectWords(info.Layout)) += '\n';
  out.append("Encoding: ").append(info.Encoding == TextEncoding::Utf8 ? "UTF-8" : "Windows-1252") += '\n';
  figure("Folders", info.Folders);
  figure("Links", info.Links);
  figure("Separators", info.Separators);
  figure("Descriptions", info.Descriptions);
  figure("Deepest folder level", info.Depth);
  figure("Links whose address occurred earlier", info.DuplicateLinks);
  figure("Links that are no web links", info.NonWebLinks.size());
  for (const NonWebLink& l : info.NonWebLinks)
    out.append("  line ").append(std::to_string(l.Line)).append(": ").append(Printable(l.Address)) += '\n';
  figure("Problems", info.Problems.size());
  for (const Diagnostic& d : info.Problems)
    out.append("  line ")
        .append(std::to_string(d.Line))
        .append(" (")
        .append(DiagnosticName(d.Kind))
        .append("): ")
        .append(Printable(d.Text)) += '\n';
  return out;
}

std::string DocumentInfoJson(const DocumentInfo& info) {
  using Json = nlohmann::ordered_json;
  Json problems = Json::array(), nonWeb = Json::array();
  for (const Diagnostic& d : info.Problems)
    problems.push_back({{"line", d.Line}, {"kind", DiagnosticName(d.Kind)}, {"text", d.Text}});
  for (const NonWebLink& l : info.NonWebLinks) nonWeb.push_back({{"line", l.Line}, {"address", l.Address}});
  const Json j = {{"dialect", DialectName(info.Layout)},
                  {"encoding", info.Encoding == TextEncoding::Utf8 ? "utf-8" : "windows-1252"},
                  {"folders", info.Folders},
                  {"links", info.Links},
                  {"separators", info.Separators},
                  {"descriptions", info.Descriptions},
                  {"depth", info.Depth},
                  {"duplicate_links", info.DuplicateLinks},
                  {"problems", std::move(problems)},
                  {"non_web_links", std::move(nonWeb)}};
  // The texts are UTF-8 already; a stray byte must not end the report.
  return j.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace quillet
