#pragma once
// Pages with pictures laid out on the fixed canvas, pictures read from the
// test pictures of tests/viewer/data through a file system that records
// what was read.
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "tests/viewer/images/PictureFiles.h"
#include "tests/viewer/layout/LayoutFixture.h"
#include "tests/viewer/parser/ParserFixture.h"
#include "viewer/layout/Section.h"

namespace quillet::test {

// The real file system, every whole-file read recorded.
class RecordingFileSystem : public PosixFileSystem {
 public:
  bool TryReadFile(const std::string& path, std::string& data) override {
    Reads.push_back(path);
    return PosixFileSystem::TryReadFile(path, data);
  }
  std::vector<std::string> Reads;
};

// The fixed canvas, keeping a copy of every picture drawn.
class PictureCanvas : public FixedCanvas {
 public:
  void DrawPicture(const Picture& picture, const Rect& dest) override {
    Drawn.push_back(picture);
    FixedCanvas::DrawPicture(picture, dest);
  }
  std::vector<Picture> Drawn;
};

// A page whose picture sources are relative to tests/viewer/data.
struct PicturePage {
  RecordingFileSystem files;
  ParsedPage page;
  PictureCanvas canvas;

  explicit PicturePage(bool showImages = true) {
    page.doc.SetBackground(clWhite);
    page.doc.ShowImages = showImages;
    page.doc.Callbacks().Files = &files;
    page.doc.Callbacks().ExpandImageName = [](const std::string& source) { return PictureDataPath(source); };
  }
  PicturePage& Parse(std::string_view html) {
    page.Parse(html);
    return *this;
  }
  TSectionList& Doc() { return page.doc; }
  int Layout(int width) {
    int curs = 0, maxWidth = 0;
    return page.doc.DoLogic(canvas, 0, width, curs, maxWidth);
  }
  // Draws everything at x 0, y 0 and returns the calls (the pictures drawn
  // in canvas.Drawn).
  std::vector<std::string> Draw(int width = 2000) {
    canvas.Calls.clear();
    canvas.Drawn.clear();
    page.doc.Draw(canvas, {0, 0, width, 100000}, 0, 0, width);
    return canvas.Calls;
  }
  // The n-th picture of the document, in document order.
  TImageObj& Image(size_t n = 0) {
    for (const auto& block : page.doc.Blocks())
      if (auto* s = dynamic_cast<TSection*>(block.get()))
        for (const auto& image : s->Images())
          if (n-- == 0) return *image;
    throw std::out_of_range("no such picture");
  }
  const TSection& SectionOf(const TImageObj& image) {
    for (const auto& block : page.doc.Blocks())
      if (auto* s = dynamic_cast<TSection*>(block.get()))
        for (const auto& i : s->Images())
          if (i.get() == &image) return *s;
    throw std::out_of_range("no section holds the picture");
  }
};

}  // namespace quillet::test
