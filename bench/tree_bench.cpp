// The bookmark tree on one bookmark file.
//   tree_bench FILE          loads the file and reads it into the tree, as a
//                            command would (timed from outside: bench/run)
//   tree_bench FILE --edits  also times, inside: reading the loaded lines
//                            into the tree, renaming one link, and moving
//                            1,000 links spread over the file into one folder
//                            (each edit with its patch); medians of 5
// Prints what it read, and the times in seconds (processor and wall).
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "bookmarks/DocumentFile.h"
#include "bookmarks/TreeEdit.h"
#include "bookmarks/TreeReader.h"
#include "platform/FileSystem.h"
#include "platform/TerminalUi.h"

using namespace quillet;

namespace {

struct Time {
  double Cpu = 0, Wall = 0;
};

template <class F>
Time Measure(F&& f) {
  timespec c0{}, c1{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c0);
  const auto w0 = std::chrono::steady_clock::now();
  f();
  const auto w1 = std::chrono::steady_clock::now();
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c1);
  return {double(c1.tv_sec - c0.tv_sec) + double(c1.tv_nsec - c0.tv_nsec) / 1e9,
          std::chrono::duration<double>(w1 - w0).count()};
}

Time Median(std::vector<Time> times) {
  auto mid = [&](auto key) {
    std::sort(times.begin(), times.end(), [&](const Time& a, const Time& b) { return key(a) < key(b); });
    return key(times[times.size() / 2]);
  };
  return {mid([](const Time& t) { return t.Cpu; }), mid([](const Time& t) { return t.Wall; })};
}

void Print(const char* what, Time t, Time read) {
  std::printf("%-34s %8.4f s cpu %8.4f s wall  (%5.2f%% of reading)\n", what, t.Cpu, t.Wall, 100 * t.Wall / read.Wall);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tree_bench FILE [--edits]\n");
    return 2;
  }
  const bool edits = argc > 2 && std::strcmp(argv[2], "--edits") == 0;
  PosixFileSystem fs;
  TerminalUi ui(std::cin, std::cerr);
  Context ctx;
  ctx.Services.Fs = &fs;
  ctx.Services.UI = &ui;

  TextLines lines;
  const Time load = Measure([&] { ReadDocumentFile(ctx, argv[1], lines); });
  const TextLines copy = edits ? lines : TextLines();
  BookmarkTree tree = ReadBookmarkTree(std::move(lines));
  size_t folders = 0, links = 0;
  std::vector<NodeId> allLinks;
  tree.ForEachNode([&](NodeId id) {
    folders += tree.Kind(id) == NodeKind::Folder;
    if (tree.Kind(id) == NodeKind::Link) {
      ++links;
      if (edits) allLinks.push_back(id);
    }
  });
  std::printf("%zu lines: %zu folders, %zu links, %zu problems\n", tree.Lines().size(), folders - 1, links,
              tree.Diagnostics().size());
  if (!edits) return 0;

  std::printf("%-34s %8.4f s cpu %8.4f s wall\n", "load the file", load.Cpu, load.Wall);
  // Reading again from the same lines, five times, for a median.
  std::vector<Time> reads;
  for (int i = 0; i < 5; ++i) {
    TextLines again = copy;
    reads.push_back(Measure([&] { tree = ReadBookmarkTree(std::move(again)); }));
  }
  const Time reading = Median(reads);
  std::printf("%-34s %8.4f s cpu %8.4f s wall\n", "read the lines into the tree", reading.Cpu, reading.Wall);

  std::vector<Time> renames, moves;
  for (int i = 0; i < 5; ++i) {
    const NodeId link = allLinks[allLinks.size() / 2 + static_cast<size_t>(i)];
    renames.push_back(Measure([&] { RenameNode(tree, link, "Renamed " + std::to_string(i)); }));
  }
  // A thousand links from all over the file into the last top-level folder,
  // and back to the top level, by turns.
  NodeId target = kNoNode;
  for (NodeId c : tree.Children(kRootNode))
    if (tree.Kind(c) == NodeKind::Folder) target = c;
  for (int i = 0; i < 5; ++i) {
    std::vector<NodeId> chosen;
    for (size_t k = 0; k < 1000; ++k) chosen.push_back(allLinks[(k * allLinks.size()) / 1000 + static_cast<size_t>(i)]);
    const InsertPosition to{i % 2 ? kRootNode : target, kNoNode};
    moves.push_back(Measure([&] { MoveNodes(tree, chosen, to); }));
  }
  Print("rename one link", Median(renames), reading);
  Print("move 1,000 links", Median(moves), reading);
  return 0;
}
