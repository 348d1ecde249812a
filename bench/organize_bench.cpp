// Times the Organize view on one bookmark file, on Qt's offscreen platform:
// the document shown in the view (read into its tree, the folder tree and
// the top level's list, painted), filter keystrokes over the whole
// document, 1,000 selected links moved into a folder by a drop and a
// step down, and the undo of that move.
//
//   organize_bench FILE [--width W] [--height H] [--shot OUT.png]
//
// Prints one line per step: wall-clock and processor milliseconds. With
// --shot it times nothing and draws the window showing the file's first
// folder into OUT.png instead (the README's picture).
#include <time.h>

#include <QAction>
#include <QApplication>
#include <QMimeData>
#include <QTreeView>
#include <QUndoStack>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "bench/BenchClock.h"
#include "app/window/DocumentHistory.h"
#include "app/window/InputBox.h"
#include "app/window/MainWindow.h"
#include "app/window/OrganizeView.h"
#include "bookmarks/Context.h"
#include "bookmarks/DocumentFile.h"
#include "platform/FileSystem.h"
#include "platform/IcuCollation.h"
#include "platform/PrivateProfile.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtUi.h"

namespace {

using quillet::bench::CpuMs;
using quillet::bench::WallMs;

// Runs a step and the paints it causes; prints its times.
void Step(const std::string& name, const std::function<void()>& step) {
  const double w0 = WallMs(), c0 = CpuMs();
  step();
  QApplication::processEvents();
  std::printf("%-28s wall=%.1f cpu=%.1f\n", name.c_str(), WallMs() - w0, CpuMs() - c0);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quillet;
  if (argc < 2) {
    std::fprintf(stderr, "usage: organize_bench FILE [--width W] [--height H]\n");
    return 2;
  }
  int width = 1000, height = 700;
  const char* shot = nullptr;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--shot") == 0) shot = argv[i + 1];
    if (std::strcmp(argv[i], "--width") == 0) width = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--height") == 0) height = std::atoi(argv[i + 1]);
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  PosixFileSystem fs;
  IniProfile profile(fs);
  QtUi ui(AskText);
  IcuCollation collation("");
  QtDialogs dialogs;
  Context ctx;
  ctx.Services = {&fs, &profile, &ui, &collation};
  ctx.ProgramDir = ctx.DataDir = "/nonexistent/";

  MainWindow window(ctx, dialogs);
  window.resize(width, height);
  window.show();
  window.Action(QStringLiteral("organizeViewAction"))->trigger();
  QApplication::processEvents();
  OrganizeView& view = window.Organizer();
  // The file is read before the clock starts: what is timed is the view.
  TextLines lines;
  ReadDocumentFile(ctx, argv[1], lines);
  size_t links = 0;
  for (const std::string& l : lines) links += l.find("<A HREF") != std::string::npos;
  std::printf("file: %zu lines, %zu links\n", lines.size(), links);

  Step("show the document", [&] {
    ctx.HtmlLines = std::move(lines);
    window.ShowDocument();
    view.Refresh();
  });
  if (shot) {
    const BookmarkTree& tree = view.Tree();
    for (NodeId id : tree.Children(tree.Root()))
      if (tree.Kind(id) == NodeKind::Folder) {
        view.ShowFolder(id);
        break;
      }
    view.Folders()->expandAll();
    if (view.ItemModel().rowCount() > 1) view.Select({view.ItemModel().IdAt(1)});
    view.Items()->setFocus();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(shot)) ? 0 : 1;
  }
  Step("the filter's index, read while idle", [&] {
    while (!view.HaystackFilled()) QApplication::processEvents();
  });
  const char* typed[] = {"n", "ne", "new", "news", "new", "ne"};
  for (const char* text : typed)
    Step(std::string("filter keystroke \"") + text + "\"", [&] { view.SetFilter(QString::fromLatin1(text)); });
  std::printf("  the filter \"ne\" finds %d items\n", view.ItemModel().rowCount());

  // 1,000 links found anywhere in the file, selected, dropped on a folder.
  std::vector<NodeId> chosen;
  for (NodeId id : view.ItemModel().Ids())
    if (view.Tree().Kind(id) == NodeKind::Link && chosen.size() < 1000) chosen.push_back(id);
  view.Select(chosen);
  NodeId target = kNoNode;
  view.Tree().ForEachNode([&](NodeId id) {
    if (target == kNoNode && id != view.Tree().Root() && view.Tree().Kind(id) == NodeKind::Folder) target = id;
  });
  Step("move 1,000 links (drop)", [&] {
    std::unique_ptr<QMimeData> data(NodesMimeData(view, view.SelectedIds()));
    view.FolderModel().dropMimeData(data.get(), Qt::MoveAction, -1, 0, view.FolderModel().IndexOf(target));
  });
  std::printf("  selected after the move: %zu\n", view.SelectedIds().size());
  Step("undo the move", [&] {
    window.UndoStack().undo();
    view.Refresh();
  });
  Step("clear the filter", [&] { view.SetFilter(QString()); });
  view.ShowFolder(target);
  std::printf("  the folder holds %d items\n", view.ItemModel().rowCount());
  Step("redo the move", [&] {
    window.UndoStack().redo();
    view.Refresh();
  });
  // The redo read the tree anew, with new ids: the links are chosen again.
  chosen.clear();
  for (NodeId id : view.ItemModel().Ids())
    if (view.Tree().Kind(id) == NodeKind::Link && chosen.size() < 1000) chosen.push_back(id);
  view.Select(chosen);
  std::printf("  selected in the folder: %zu of %d\n", view.SelectedIds().size(), view.ItemModel().rowCount());
  Step("1,000 links one step down", [&] { view.MoveSelection(1); });
  return 0;
}
