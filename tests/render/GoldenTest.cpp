// Every page of tests/viewer/pages rendered as quillet-render renders it and
// compared pixel by pixel with its picture in tests/viewer/golden; pages
// named "images-..." with pictures shown (--images), their pictures beside
// them, and each page with the options its "golden:" comments give
// (tests/viewer/README.md). After an intended change, scripts/update-golden
// rewrites the pictures (look at each before committing it).
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/TerminalUi.h"
#include "platform/qt/QtCanvas.h"
#include "tests/support/TempDir.h"
#include "tests/support/qt/OffscreenApp.h"
#include "tools/Render.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

const fs::path kPages = fs::path(QUILLET_SOURCE_DIR) / "tests/viewer/pages";
const fs::path kGolden = fs::path(QUILLET_SOURCE_DIR) / "tests/viewer/golden";

std::vector<std::string> PageNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kPages))
    if (entry.path().extension() == ".htm") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The pictures were drawn with the Liberation fonts that stand in for Times
// New Roman and Courier New; with others every glyph differs.
bool FontsAsDrawn() {
  test::OffscreenApp();
  FontSpec times;
  FontSpec courier;
  courier.Face = u"Courier New";
  return QFontInfo(MakeQFont(times)).family() == "Liberation Serif" &&
         QFontInfo(MakeQFont(courier)).family() == "Liberation Mono";
}

// What a page's "golden:" comments ask for: quillet-render's options (one
// a line, its value the rest of the line) and fonts beyond Liberation.
struct PageNeeds {
  std::vector<std::string> Args;
  std::vector<std::string> Fonts;
};

PageNeeds NeedsOf(const fs::path& page) {
  static const std::string kOpen = "<!-- golden: ", kClose = " -->", kFont = "needs font ";
  PageNeeds needs;
  std::ifstream in(page);
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with(kOpen) || !line.ends_with(kClose)) continue;
    const std::string body = line.substr(kOpen.size(), line.size() - kOpen.size() - kClose.size());
    if (body.starts_with(kFont)) {
      needs.Fonts.push_back(body.substr(kFont.size()));
      continue;
    }
    const auto blank = body.find(' ');
    needs.Args.push_back(body.substr(0, blank));
    if (blank != std::string::npos) needs.Args.push_back(body.substr(blank + 1));
  }
  return needs;
}

class GoldenPage : public testing::TestWithParam<std::string> {};

TEST_P(GoldenPage, MatchesItsPicture) {
  if (!FontsAsDrawn()) GTEST_SKIP() << "the Liberation fonts (fonts-liberation) are not what Qt finds";
  const std::string name = GetParam();
  const PageNeeds needs = NeedsOf(kPages / (name + ".htm"));
  for (const std::string& font : needs.Fonts)
    if (!QFontDatabase::families().contains(QString::fromStdString(font)))
      GTEST_SKIP() << name << " was drawn with the font " << font << ", which Qt does not find here "
                   << "(scripts/bootstrap installs it)";
  std::ostringstream messages;
  std::istringstream none;
  TerminalUi ui(none, messages);
  RenderOptions options;
  options.Images = name.starts_with("images-");
  for (size_t i = 0; i < needs.Args.size(); ++i) {
    std::string error;
    ASSERT_TRUE(ReadRenderOption(needs.Args, i, options, error)) << name << ": no page option " << needs.Args[i];
    ASSERT_EQ(error, "") << name;
  }
  const RenderResult result = RenderFile((kPages / (name + ".htm")).string(), options, ui);
  EXPECT_EQ(result.SelectError, "");
  EXPECT_EQ(result.ParseError, "");
  EXPECT_EQ(messages.str(), "");

  const QImage golden(QString::fromStdString((kGolden / (name + ".png")).string()));
  ASSERT_FALSE(golden.isNull()) << "no golden picture for " << name << ": run scripts/update-golden";
  const QImage actual = result.Picture.convertToFormat(QImage::Format_RGB32);
  const QImage expected = golden.convertToFormat(QImage::Format_RGB32);
  bool same = actual.size() == expected.size();
  int diffX = -1, diffY = -1;
  for (int y = 0; same && y < actual.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
    const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
    for (int x = 0; x < actual.width(); ++x)
      if (a[x] != e[x]) {
        same = false;
        diffX = x;
        diffY = y;
        break;
      }
  }
  if (!same) {
    const fs::path saved = fs::temp_directory_path() / ("quillet-golden-" + name + ".png");
    actual.save(QString::fromStdString(saved.string()));
    ADD_FAILURE() << name << ": the picture differs from " << (kGolden / (name + ".png")).string() << " ("
                  << actual.width() << "x" << actual.height() << " against " << expected.width() << "x"
                  << expected.height() << (diffX >= 0 ? ", first at " + std::to_string(diffX) + "," +
                                                            std::to_string(diffY)
                                                      : std::string())
                  << "); this rendering is in " << saved.string()
                  << ". After an intended change run scripts/update-golden and look at the pictures.";
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, GoldenPage, testing::ValuesIn(PageNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           std::string n = info.param;
                           for (char& c : n)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

TEST(GoldenPages, EveryPictureHasItsPage) {
  for (const auto& entry : fs::directory_iterator(kGolden))
    EXPECT_TRUE(fs::exists(kPages / (entry.path().stem().string() + ".htm"))) << entry.path();
}

}  // namespace
}  // namespace quillet
