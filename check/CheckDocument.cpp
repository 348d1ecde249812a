#include "check/CheckDocument.h"

#include "bookmarks/FolderPath.h"
#include "bookmarks/TreeEdit.h"
#include "check/Url.h"
#include "platform/AsciiCase.h"

namespace quillet {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = LowerAscii(c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string PercentDecoded(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

bool IsDrivePath(std::string_view p) {
  return p.size() >= 2 && IsAsciiLetter(p[0]) && (p[1] == ':' || p[1] == '|') && (p.size() == 2 || p[2] == '/' || p[2] == '\\');
}

}  // namespace

std::vector<DocumentLink> DocumentLinks(const BookmarkTree& tree) {
  std::vector<DocumentLink> links;
  tree.ForEachNode([&](NodeId id) {
    if (tree.Kind(id) != NodeKind::Link) return;
    links.push_back({id, tree.ItemLine(id) + 1, FolderPathOf(tree, id), tree.Title(id), tree.Address(id)});
  });
  return links;
}

std::optional<std::string> FileLinkPath(std::string_view url, const std::string& docDir, Registry* reg) {
  const auto parts = ParseUrl(url);
  if (!parts || parts->Scheme != "file") return std::nullopt;
  if (parts->HasAuthority && !parts->Host.empty() && parts->Host != "localhost") {
    // "file://C:/a" names the drive where a host should stand.
    if (!(parts->Host.size() == 1 && IsAsciiLetter(parts->Host[0]) && parts->Port.empty())) return std::nullopt;
  }
  std::string path = PercentDecoded(parts->Path);
  for (char& c : path)
    if (c == '\\') c = '/';
  std::string drive;
  const std::string_view p = path;
  if (parts->HasAuthority && parts->Host.size() == 1) {
    drive = parts->Host + ":" + path;
  } else if (!p.empty() && p[0] == '/' && IsDrivePath(p.substr(1))) {
    drive = path.substr(1);
  } else if (IsDrivePath(p)) {
    drive = path;
  }
  if (!drive.empty()) {
    if (!reg) return std::nullopt;
    drive[1] = ':';
    for (char& c : drive)
      if (c == '/') c = '\\';
    std::string local = reg->LocalPath(drive);
    if (local.empty()) return std::nullopt;
    return local;
  }
  if (path.empty()) return std::nullopt;
  if (path[0] == '/') return path;
  return docDir + path;
}

size_t MoveDeadLinks(BookmarkTree& tree, const std::vector<DocumentLink>& links,
                     const std::vector<LinkResult>& results, std::string_view name) {
  std::vector<NodeId> dead;
  for (size_t i = 0; i < links.size() && i < results.size(); ++i)
    if (results[i].Checked && results[i].State == LinkState::Dead && tree.IsLive(links[i].Id))
      dead.push_back(links[i].Id);
  if (dead.empty()) return 0;
  NodeId folder = kNoNode;
  for (NodeId child : tree.Children(tree.Root()))
    if (tree.Kind(child) == NodeKind::Folder && tree.Title(child) == name) {
      folder = child;
      break;
    }
  if (folder == kNoNode) folder = InsertFolder(tree, {tree.Root(), kNoNode}, name).Id;
  MoveNodes(tree, dead, {folder, kNoNode});
  return dead.size();
}

size_t RewritePermanentRedirects(BookmarkTree& tree, const std::vector<DocumentLink>& links,
                                 const std::vector<LinkResult>& results) {
  size_t changed = 0;
  for (size_t i = 0; i < links.size() && i < results.size(); ++i) {
    const LinkResult& r = results[i];
    if (!r.Checked || r.State != LinkState::RedirectPermanent || IsSiteRoot(r.FinalUrl)) continue;
    if (!tree.IsLive(links[i].Id) || r.FinalUrl == links[i].Url) continue;
    SetLinkAddress(tree, links[i].Id, r.FinalUrl);
    ++changed;
  }
  return changed;
}

}  // namespace quillet
