// The bookmark tree: any bytes read into a tree, every value read from it,
// printed anew and read again, then random edits (chosen from the input's
// hash). After each: the tree keeps its invariants, the lines of every node
// the edit did not touch are the same bytes, the patch turns the old text
// into the new and back, and an edit that fails changes nothing.
#include <cstddef>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <string_view>

#include "bookmarks/FolderPath.h"
#include "bookmarks/TreeEdit.h"
#include "bookmarks/TreeInvariants.h"
#include "bookmarks/TreeReader.h"
#include "bookmarks/TreeWriter.h"

using namespace quillet;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Lines at LF (a CR before it dropped), NULs kept: the reader must say
// where they are.
TextLines SplitKeepingNul(std::string_view text) {
  TextLines lines;
  size_t at = 0;
  while (at < text.size() && lines.size() < 4000) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    at = end + 1;
  }
  return lines;
}

void ReadEverything(const BookmarkTree& tree) {
  tree.ForEachNode([&](NodeId id) {
    tree.Title(id);
    tree.Address(id);
    tree.AddDate(id);
    tree.IsToolbar(id);
    tree.Description(id);
    for (const NodeAttribute& a : tree.Attributes(id)) tree.DecodeText(a.RawValue);
    const std::string path = FolderPathOf(tree, id);
    if (tree.Kind(id) == NodeKind::Folder) {
      bool found = false;
      for (NodeId f : FindFolders(tree, path)) found = found || f == id;
      // An untitled folder at the top level shares the top level's path.
      Check(found || path.empty());
    }
  });
}

// Each node's own text, for the nodes whose pieces are whole lines: those
// stay the same bytes unless the node itself is edited.
std::map<NodeId, std::string> WholeLinePieces(const BookmarkTree& tree) {
  std::map<NodeId, std::string> texts;
  auto whole = [](TextSpan s) { return !s.Empty() && s.Begin.Col == 0 && s.End.Col == 0; };
  tree.ForEachNode([&](NodeId id) {
    const TextSpan span = tree.Span(id);
    if (!whole(span)) return;
    std::string text = tree.SpanText(span);
    if (tree.Kind(id) == NodeKind::Folder) {
      if (!whole(tree.Tail(id)) || tree.Layout(id) == FolderLayout::Listless) return;
      text += '\0' + tree.SpanText(tree.Tail(id));
    }
    texts[id] = std::move(text);
  });
  return texts;
}

// Kinds, depths and titles in document order.
std::string Outline(const BookmarkTree& tree) {
  std::string out;
  tree.ForEachNode([&](NodeId id) {
    if (tree.Kind(id) == NodeKind::Opaque) return;
    out += std::to_string(tree.Depth(id)) + "ABCD"[static_cast<int>(tree.Kind(id))] + tree.Title(id) + '\n';
  });
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TextLines lines = SplitKeepingNul(text);
  BookmarkTree tree = ReadBookmarkTree(lines);
  Check(CheckTreeInvariants(tree).empty());
  Check(tree.Lines() == lines);
  ReadEverything(tree);

  const BookmarkTree printed = ReadBookmarkTree(WriteOutline(OutlineOf(tree), WriteOptions{}));
  Check(CheckTreeInvariants(printed).empty());
  // A well-formed document in one layout reads back from its edits as the
  // tree the edits made.
  const bool wellFormed = tree.Diagnostics().empty() && tree.DocumentDialect() != Dialect::Mixed;

  std::mt19937 rng(static_cast<uint32_t>(std::hash<std::string_view>{}(text)));
  auto pick = [&](size_t n) { return n == 0 ? 0 : static_cast<size_t>(rng() % n); };
  for (int step = 0; step < 6; ++step) {
    std::vector<NodeId> nodes, folders;
    tree.ForEachNode([&](NodeId id) {
      nodes.push_back(id);
      if (tree.Kind(id) == NodeKind::Folder) folders.push_back(id);
    });
    const TextLines before = tree.Lines();
    const std::string shape = Outline(tree);
    const auto pieces = WholeLinePieces(tree);
    // Any node, even one no edit takes, or an id that is not there.
    const NodeId node = pick(8) == 0 ? static_cast<NodeId>(tree.IdLimit() + pick(3)) : nodes[pick(nodes.size())];
    const NodeId folder = folders[pick(folders.size())];
    const std::vector<NodeId>& inFolder = tree.Children(folder);
    const NodeId beforeNode = inFolder.empty() || pick(3) == 0 ? kNoNode : inFolder[pick(inFolder.size())];
    NodeId edited = kNoNode;
    TextPatch patch;
    try {
      switch (pick(8)) {
        case 0: patch = RenameNode(tree, edited = node, "t&<x>/\\\xc3\xa9"); break;
        case 1: patch = SetLinkAddress(tree, edited = node, "https://x/?a&b=\"c\""); break;
        case 2: patch = DeleteNodes(tree, {node, nodes[pick(nodes.size())]}); break;
        case 3: patch = MoveNodes(tree, {node, nodes[pick(nodes.size())]}, {folder, beforeNode}); break;
        case 4: {
          std::vector<NodeId> order = inFolder;
          std::shuffle(order.begin(), order.end(), rng);
          patch = ReorderChildren(tree, folder, order);
          break;
        }
        case 5: patch = InsertFolder(tree, {folder, beforeNode}, "new", 1).Patch; break;
        case 6: patch = InsertLink(tree, {folder, beforeNode}, "new", "https://n/", 2).Patch; break;
        default: patch = InsertSeparator(tree, {folder, beforeNode}).Patch; break;
      }
    } catch (const TreeEditError&) {
      Check(tree.Lines() == before && Outline(tree) == shape);
      continue;
    }
    Check(CheckTreeInvariants(tree).empty());
    const auto now = WholeLinePieces(tree);
    for (const auto& [id, piece] : pieces) {
      if (id == edited || !tree.IsLive(id)) continue;
      const auto it = now.find(id);
      Check(it != now.end() && it->second == piece);
    }
    TextLines replay = before;
    ApplyPatch(replay, patch);
    Check(replay == tree.Lines());
    ApplyPatch(replay, InvertPatch(patch));
    Check(replay == before);
    if (wellFormed) Check(Outline(ReadBookmarkTree(tree.Lines())) == Outline(tree));
    ReadEverything(tree);
  }
  return 0;
}
