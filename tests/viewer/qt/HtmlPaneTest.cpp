// The pane widget: loading, its properties, scrolling with keys and bars,
// painting, focus, on the offscreen platform with the real fonts.
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionSlider>
#include <QVBoxLayout>
#include <filesystem>
#include <functional>
#include <set>

#include "platform/Errors.h"
#include "platform/qt/QtCanvas.h"
#include "tests/viewer/qt/PaneFixture.h"
#include "viewer/document/DocumentDump.h"
#include "viewer/text/ViewerErrors.h"

namespace quillet::test {
namespace {

QRgb PixelAt(QWidget* w, QPoint p) { return w->grab().toImage().pixel(p); }

// The pane's defaults live in PaneSettings alone; what each property does
// is tested with it, on the fixture's fresh pane.
TEST_F(PaneTest, AFreshPaneTakesItsSettingsFromTheOnePlaceTheyAreKept) {
  ThtmlPane fresh;
  EXPECT_TRUE(fresh.Settings() == PaneSettings());
}

TEST_F(PaneTest, AFreshPaneTakesTheFocusOnAClickAndOnlyThenShowsItsFrame) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* other = new QLineEdit(&window);
  auto* pane = new ThtmlPane(&window);
  layout->addWidget(other);
  layout->addWidget(pane);
  window.show();
  QApplication::setActiveWindow(&window);
  other->setFocus();
  const QImage unfocused = pane->grab().toImage();
  EXPECT_EQ(unfocused.pixel(0, 20), unfocused.pixel(5, 20));  // the frame is the page's colour
  QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, {20, 20});
  EXPECT_TRUE(pane->hasFocus());
  EXPECT_EQ(pane->grab().toImage().pixel(0, 20), pane->palette().color(QPalette::Highlight).rgb());
}

TEST_F(PaneTest, AnEmptyListGivesAnEmptyPageWithBothBarsHidden) {
  Load({"<p>Something before"});
  Load({});
  EXPECT_EQ(PaneText(P()), "");
  EXPECT_EQ(P().DocHeight(), 2 * P().MarginHeight()) << DumpDocument(P().Document(), u"", 10);
  EXPECT_FALSE(P().verticalScrollBar()->isVisible());
  EXPECT_FALSE(P().horizontalScrollBar()->isVisible());
  EXPECT_EQ(P().CurrentFile(), "");
  // The page is the button face, as the pane's default background.
  const QColor face = ToQColor(clBtnFace, SystemPaletteFrom(P().palette()));
  EXPECT_EQ(PixelAt(Panel(), {100, 100}), face.rgb());
}

TEST_F(PaneTest, AFileNameWithAnAnchorLoadsTheFileAndScrollsToTheAnchor) {
  std::string page;
  for (int i = 0; i < 60; ++i) page += "<p>Before " + std::to_string(i) + "\n";
  page += "<p><a name=\"Part2\">Part two</a>\n";
  for (int i = 0; i < 60; ++i) page += "<p>After " + std::to_string(i) + "\n";
  WriteBytes(Dir / "page.htm", page);
  P().LoadFromFile(Dir / "page.htm#Part2");
  EXPECT_EQ(P().CurrentFile(), Dir / "page.htm");
  EXPECT_EQ(P().FileKind(), TFileKind::fkHTML);
  const TSection* part = P().NameList().at(u"PART2");
  EXPECT_GT(part->YValue, P().PanelHeight());
  EXPECT_EQ(P().Position(), part->YValue);
  // Any letter case finds it; an unknown name changes nothing.
  P().SetPosition(0);
  EXPECT_TRUE(P().PositionToAnchor("#part2"));
  EXPECT_EQ(P().Position(), part->YValue);
  EXPECT_FALSE(P().PositionToAnchor("nowhere"));
  EXPECT_FALSE(P().PositionToAnchor(""));
  EXPECT_EQ(P().Position(), part->YValue);
  // An anchor the page lacks shows it from the top.
  P().LoadFromFile(Dir / "page.htm#Part9");
  EXPECT_EQ(P().Position(), 0);
}

TEST_F(PaneTest, AMissingFileIsReportedAndLeavesTheShownDocument) {
  Load({"<p>Shown"});
  const std::string missing = Dir / "missing.htm";
  try {
    P().LoadFromFile(missing + "#x");
    ADD_FAILURE() << "no failure";
  } catch (const QuilletError& e) {
    EXPECT_EQ(std::string(e.what()), "Can't locate file: " + missing);
  }
  EXPECT_EQ(PaneText(P()), "Shown");
  EXPECT_EQ(P().CurrentFile(), "");
  EXPECT_FALSE(P().Processing());
  EXPECT_THROW(P().LoadImageFile(missing), QuilletError);
  P().LoadFromFile("");  // nothing at all
  EXPECT_EQ(PaneText(P()), "Shown");
}

TEST_F(PaneTest, PropertiesOutsideTheirRangeAreIgnoredOrClamped) {
  P().SetMarginWidth(51);
  P().SetMarginWidth(-1);
  P().SetMarginHeight(51);
  P().SetMarginHeight(-1);
  EXPECT_EQ(P().MarginWidth(), 10);
  EXPECT_EQ(P().MarginHeight(), 5);
  P().SetMarginWidth(50);
  EXPECT_EQ(P().MarginWidth(), 50);
  P().SetImageCacheCount(100);
  EXPECT_EQ(P().ImageCacheCount(), 20);
  P().SetImageCacheCount(-3);
  EXPECT_EQ(P().ImageCacheCount(), 0);
  P().SetDefFontSize(3);
  EXPECT_EQ(P().DefFontSize(), 6);
  P().SetServerRoot("  /srv/www/ ");
  EXPECT_EQ(P().ServerRoot(), "/srv/www");
  P().SetDefFontName(std::string(40, 'x'));
  EXPECT_EQ(P().DefFontName(), std::string(32, 'x'));
}

TEST_F(PaneTest, MarginsAndFontsLayTheDocumentOutAgain) {
  Load({"<p>Some words to lay out"});
  const int height = P().DocHeight();
  P().SetMarginHeight(20);
  EXPECT_EQ(P().DocHeight(), height + 30);
  // The same font name in other letters changes nothing; another one lays
  // the page out again.
  const unsigned layouts = P().Document().LayoutGeneration();
  P().SetDefFontName("times new roman");
  EXPECT_EQ(P().Document().LayoutGeneration(), layouts);
  P().SetDefFontName("Arial");
  EXPECT_EQ(P().Document().LayoutGeneration(), layouts + 1);
  // A bigger font makes a taller page; a colour lays nothing out.
  P().SetDefFontSize(24);
  EXPECT_GT(P().DocHeight(), height + 30);
  P().SetDefHotSpotColor(clBlack);
  EXPECT_EQ(P().Document().LayoutGeneration(), layouts + 2);
}

TEST_F(PaneTest, ADocumentTallerThan32767PixelsScrollsToItsEndWithEndPageDownAndTheThumb) {
  Load(ManyLines(2500));
  ASSERT_GT(P().DocHeight(), 40000);
  const int end = P().DocHeight() - P().PanelHeight();
  QScrollBar* bar = P().verticalScrollBar();
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(bar->maximum(), end);

  QTest::keyClick(&P(), Qt::Key_End);
  EXPECT_EQ(P().Position(), end);
  // The last line is in view.
  const QPoint last = At("Line 2499");
  EXPECT_GT(last.y(), 0);
  EXPECT_LT(last.y(), P().PanelHeight());

  QTest::keyClick(&P(), Qt::Key_Home);
  EXPECT_EQ(P().Position(), 0);
  int pages = 0;
  for (int before = -1; P().Position() != before && pages < 10000; ++pages) {
    before = P().Position();
    QTest::keyClick(&P(), Qt::Key_PageDown);
  }
  EXPECT_EQ(P().Position(), end);
  EXPECT_EQ(pages - 1, (end + P().PanelHeight() - 17) / (P().PanelHeight() - 16));

  // The thumb dragged to the bottom of its bar.
  QTest::keyClick(&P(), Qt::Key_Home);
  QStyleOptionSlider opt;
  opt.initFrom(bar);
  opt.subControls = QStyle::SC_All;
  opt.orientation = Qt::Vertical;
  opt.minimum = bar->minimum();
  opt.maximum = bar->maximum();
  opt.sliderPosition = opt.sliderValue = bar->value();
  opt.singleStep = bar->singleStep();
  opt.pageStep = bar->pageStep();
  const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, bar);
  QTest::mousePress(bar, Qt::LeftButton, {}, thumb.center());
  const QPoint bottom(thumb.center().x(), bar->height() + 50);
  QMouseEvent drag(QEvent::MouseMove, bottom, bar->mapToGlobal(bottom), Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(bar, &drag);
  QTest::mouseRelease(bar, Qt::LeftButton, {}, bottom);
  EXPECT_EQ(P().Position(), end);
  EXPECT_EQ(P().Document().YOff, end);
}

TEST_F(PaneTest, KeysScrollByLinesPagesAndSideways) {
  Load({"<pre>" + std::string(300, 'w') + "</pre>"});
  for (int i = 0; i < 60; ++i) Lines.push_back("<p>Line " + std::to_string(i));
  P().LoadStrings(Lines);
  QTest::keyClick(&P(), Qt::Key_Down);
  EXPECT_EQ(P().Position(), 16);
  QTest::keyClick(&P(), Qt::Key_Up);
  QTest::keyClick(&P(), Qt::Key_Up);
  EXPECT_EQ(P().Position(), 0);
  QTest::keyClick(&P(), Qt::Key_PageDown);
  EXPECT_EQ(P().Position(), P().PanelHeight() - 16);
  EXPECT_TRUE(P().horizontalScrollBar()->isVisible());
  QTest::keyClick(&P(), Qt::Key_Right);
  EXPECT_EQ(P().horizontalScrollBar()->value(), 15);
  QTest::keyClick(&P(), Qt::Key_Left);
  QTest::keyClick(&P(), Qt::Key_Left);
  EXPECT_EQ(P().horizontalScrollBar()->value(), 0);
  // The wheel goes through the bar.
  QWheelEvent wheel(QPointF(50, 50), Panel()->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  const int before = P().Position();
  QApplication::sendEvent(Panel(), &wheel);
  EXPECT_GT(P().Position(), before);
  EXPECT_EQ(P().Document().YOff, P().Position());
}

TEST_F(PaneTest, ALineScrollPaintsOnlyTheStripItUncovers) {
  RecordingPane pane;
  pane.resize(320, 200);
  pane.show();
  std::vector<std::string> lines = ManyLines(200);
  pane.LoadStrings(lines);
  QApplication::processEvents();
  pane.Painted.clear();
  QTest::keyClick(&pane, Qt::Key_Down);
  QApplication::processEvents();
  ASSERT_FALSE(pane.Painted.empty());
  for (const QRect& r : pane.Painted) EXPECT_LE(r.height(), ThtmlPane::kVSmallChange);
  // And the strip shows what a whole repaint shows.
  const QImage scrolled = pane.viewport()->grab().toImage();
  pane.viewport()->repaint();
  EXPECT_EQ(pane.viewport()->grab().toImage(), scrolled);
}

TEST_F(PaneTest, AResizeLaysOutAgainOnlyWhenTheWidthChangesAndKeepsTheReadersPlace) {
  std::vector<std::string> lines;
  for (int i = 0; i < 80; ++i) lines.push_back("<p>Paragraph " + std::to_string(i) + " with words enough to wrap.");
  Load(lines);
  const unsigned layouts = P().Document().LayoutGeneration();
  P().resize(320, 260);
  EXPECT_EQ(P().Document().LayoutGeneration(), layouts);
  EXPECT_EQ(P().PanelHeight(), 258);
  ASSERT_TRUE(P().PositionToAnchor("") == false);
  P().SetPosition(P().DocHeight() / 2);
  const TReadingPosition place = P().ReadingPosition();
  P().resize(200, 260);
  EXPECT_EQ(P().Document().LayoutGeneration(), layouts + 1);
  EXPECT_EQ(P().ReadingPosition(), place);
  EXPECT_EQ(P().viewport()->width(), P().PanelWidth());
  EXPECT_EQ(P().viewport()->height(), P().PanelHeight());
}

TEST_F(PaneTest, HistoryKeepsAsManyFilesAsAskedAndNoneAtZero) {
  for (const char* name : {"a.htm", "b.htm", "c.htm"})
    WriteBytes(Dir / name, std::string("<title>") + name + "</title><p>" + name);
  int changes = 0;
  P().OnHistoryChange = [&] { ++changes; };
  P().LoadFromFile(Dir / "a.htm");
  P().LoadFromFile(Dir / "b.htm");
  EXPECT_TRUE(P().HistoryFiles().empty());
  EXPECT_EQ(changes, 0);

  P().SetHistoryMaxCount(2);
  P().LoadFromFile(Dir / "a.htm");
  P().LoadFromFile(Dir / "c.htm");
  EXPECT_EQ(P().HistoryFiles(), (std::vector<std::string>{Dir / "c.htm", Dir / "a.htm"}));
  EXPECT_EQ(P().HistoryTitles(), (std::vector<std::string>{"c.htm", "a.htm"}));
  P().LoadFromFile(Dir / "b.htm");
  EXPECT_EQ(P().HistoryFiles(), (std::vector<std::string>{Dir / "b.htm", Dir / "c.htm"}));
  EXPECT_EQ(changes, 3);
  // Lowering the count empties it.
  P().SetHistoryMaxCount(1);
  EXPECT_TRUE(P().HistoryFiles().empty());
  EXPECT_EQ(changes, 4);
}

TEST_F(PaneTest, BackAndForwardStepThroughTheHostsLinesAndThePagesFollowed) {
  WriteBytes(Dir / "a.htm", "<title>A</title><p><a href=\"b.htm\">To b</a>");
  WriteBytes(Dir / "b.htm", "<title>B</title><p>Page b");
  P().DocumentPath = [this] { return Dir / "doc.htm"; };
  P().SetHistoryMaxCount(10);
  std::vector<std::string> doc = ManyLines(60);
  doc.insert(doc.begin(), "<title>Doc</title><p><a href=\"a.htm\">To a</a> <a href=\"doc.htm#end\">Self</a>");
  doc.push_back("<a name=end>End</a>");
  Load(doc);
  EXPECT_EQ(P().HistoryFiles(), std::vector<std::string>{""});
  // A link to the lines' own file stays in them.
  QTest::mouseClick(Panel(), Qt::LeftButton, {}, At("Self"));
  EXPECT_EQ(P().CurrentFile(), "");
  EXPECT_GT(P().Position(), 0);
  P().SetPosition(0);
  QTest::mouseClick(Panel(), Qt::LeftButton, {}, At("To a"));
  QTest::mouseClick(Panel(), Qt::LeftButton, {}, At("To b"));
  EXPECT_EQ(P().HistoryFiles(), (std::vector<std::string>{Dir / "b.htm", Dir / "a.htm", ""}));
  // Where the reader was in the host's lines comes back with them.
  ASSERT_TRUE(P().GoBack());
  ASSERT_TRUE(P().GoBack());
  EXPECT_EQ(P().CurrentFile(), "");
  P().SetPosition(300);
  const TReadingPosition place = P().ReadingPosition();
  // Each way of stepping: the keys, the mouse's buttons; plain Left and
  // Right scroll instead.
  const struct {
    std::function<void()> step;
    std::string shown;
  } steps[] = {
      {[this] { QTest::keyClick(&P(), Qt::Key_Right); }, ""},
      {[this] { QTest::keyClick(&P(), Qt::Key_Right, Qt::AltModifier); }, Dir / "a.htm"},
      {[this] { QTest::mouseClick(Panel(), Qt::ForwardButton, {}, {5, 5}); }, Dir / "b.htm"},
      {[this] { QTest::mouseClick(Panel(), Qt::ForwardButton, {}, {5, 5}); }, Dir / "b.htm"},
      {[this] { QTest::keyClick(&P(), Qt::Key_Left, Qt::AltModifier); }, Dir / "a.htm"},
      {[this] { QTest::mouseClick(Panel(), Qt::BackButton, {}, {5, 5}); }, ""},
      {[this] { QTest::keyClick(&P(), Qt::Key_Left, Qt::AltModifier); }, ""},
  };
  for (const auto& s : steps) {
    s.step();
    EXPECT_EQ(P().CurrentFile(), s.shown) << &s - steps;
  }
  EXPECT_EQ(P().Title(), "Doc");
  EXPECT_EQ(P().ReadingPosition(), place);
  EXPECT_TRUE(Ui.Errors.empty());
  // A page followed from the middle drops the pages ahead; a page whose
  // file went away says so and stays put.
  ASSERT_TRUE(P().GoForward());
  P().LoadFromFile(Dir / "b.htm");
  EXPECT_EQ(P().HistoryFiles(), (std::vector<std::string>{Dir / "b.htm", Dir / "a.htm", ""}));
  std::filesystem::remove(Dir / "a.htm");
  QTest::keyClick(&P(), Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(Ui.Errors, std::vector<std::string>{"Can't locate file: " + Dir / "a.htm"});
  EXPECT_EQ(P().HistoryIndex(), 0);
  // New lines from the host start the history again.
  Load({"<p>new"});
  EXPECT_EQ(P().HistoryFiles(), std::vector<std::string>{""});
  EXPECT_FALSE(P().CanGoBack() || P().CanGoForward());
}

TEST_F(PaneTest, ARefreshMetaNeedsADelayBeforeASemicolonAndAnAddress) {
  std::vector<std::pair<int, std::string>> refreshes;
  std::vector<std::string> metas;
  P().OnMetaRefresh = [&](int delay, const std::string& url) { refreshes.push_back({delay, url}); };
  P().OnMeta = [&](const std::string& eq, const std::string& name, const std::string& content) {
    metas.push_back(eq + "|" + name + "|" + content);
  };
  Load({"<meta http-equiv=\"Refresh\" content=\"5; URL=next.htm\"><p>x"});
  EXPECT_EQ(refreshes, (std::vector<std::pair<int, std::string>>{{5, "next.htm"}}));
  EXPECT_EQ(metas, std::vector<std::string>{"Refresh||5; URL=next.htm"});
  for (const char* content : {"5", "0; url=x.htm", "soon; url=x.htm", "5; next.htm"})
    Load({std::string("<meta http-equiv=\"refresh\" content=\"") + content + "\">"});
  EXPECT_EQ(refreshes.size(), 1u);
  // A file asks the same way.
  WriteBytes(Dir / "r.htm", "<meta http-equiv=refresh content=\"2;url=Other.htm\">");
  P().LoadFromFile(Dir / "r.htm");
  EXPECT_EQ(refreshes.back(), (std::pair<int, std::string>{2, "Other.htm"}));
  // LoadStringsAs raises nothing.
  Lines = {"<meta http-equiv=\"Refresh\" content=\"5; URL=next.htm\">"};
  P().LoadStringsAs(Lines, TFileKind::fkHTML);
  EXPECT_EQ(refreshes.size(), 2u);
}

TEST_F(PaneTest, AnOpenCommentIsPassedOnAfterWhatCameBeforeIsShown) {
  std::vector<bool> processing;
  P().OnProcessing = [&](bool on) { processing.push_back(on); };
  try {
    Load({"<p>Before", "<!-- never closed"});
    ADD_FAILURE() << "no failure";
  } catch (const EParseError& e) {
    EXPECT_EQ(std::string(e.what()), "Open Comment at End of HTML File");
  }
  EXPECT_EQ(PaneText(P()), "Before");
  EXPECT_EQ(processing, (std::vector<bool>{true, false}));
  EXPECT_FALSE(P().Formatting());
}

TEST_F(PaneTest, LoadsAreIgnoredWhileBusy) {
  WriteBytes(Dir / "other.htm", "<p>Other");
  P().OnMeta = [&](const std::string&, const std::string&, const std::string&) {
    EXPECT_TRUE(P().Processing());
    std::vector<std::string> inner{"<p>Inner"};
    P().LoadStrings(inner);
    P().LoadFromFile(Dir / "other.htm");
    P().Clear();
  };
  Load({"<meta name=a content=b><p>Outer"});
  EXPECT_EQ(PaneText(P()), "Outer");
}

TEST_F(PaneTest, TextAndPicturesLoadAsTheirKindsAPictureAlone) {
  Lines = {"<b>not bold</b>", "second line"};
  P().LoadStringsAs(Lines, TFileKind::fkText);
  EXPECT_EQ(PaneText(P()), "<b>not bold</b>\nsecond line");
  EXPECT_EQ(P().FileKind(), TFileKind::fkText);
  QImage red(30, 20, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(QString::fromStdString(Dir / "a \"red\" & b.png")));
  P().SetServerRoot("/elsewhere");
  P().SetViewImages(true);
  P().LoadImageFile(Dir / "a \"red\" & b.png");
  EXPECT_EQ(P().CurrentFile(), Dir / "a \"red\" & b.png");
  EXPECT_EQ(P().FileKind(), TFileKind::fkImage);
  const QImage shot = Panel()->grab().toImage();
  EXPECT_EQ(shot.pixel(P().MarginWidth() + 15, P().MarginHeight() + 10), qRgb(255, 0, 0));
}

TEST_F(PaneTest, ClearEmptiesThePageAndSilencesTheSound) {
  std::vector<std::string> sounds;
  P().OnSoundRequest = [&](const std::string& src, int loop, bool stop) {
    sounds.push_back(src + "|" + std::to_string(loop) + "|" + (stop ? "stop" : "play"));
  };
  Load(ManyLines(100));
  EXPECT_EQ(sounds, std::vector<std::string>{"|0|stop"});
  P().SetPosition(200);
  P().Clear();
  EXPECT_TRUE(P().Document().Empty());
  EXPECT_EQ(P().Position(), 0);
  EXPECT_FALSE(P().verticalScrollBar()->isVisible());
  EXPECT_EQ(sounds.size(), 2u);
}

TEST_F(PaneTest, ExpandsLinksAgainstTheBaseOrTheFilesFolder) {
  WriteBytes(Dir / "docs/a.htm", "<p>a");
  P().LoadFromFile(Dir / "docs/a.htm");
  EXPECT_EQ(P().ExpandLinkPath(" b.htm "), Dir / "docs/b.htm");
  P().SetServerRoot("/srv");
  EXPECT_EQ(P().ExpandLinkPath("/x/y.htm"), "/srv/x/y.htm");
  Load({"<base href=\"/base/\"><p>x"});
  EXPECT_EQ(P().BaseUrl(), "/base/");
  EXPECT_EQ(P().ExpandLinkPath("c.htm"), "/base/c.htm");
  // The host's lines resolve beside the file it names for them.
  P().DocumentPath = [this] { return Dir / "docs/list.htm"; };
  Load({"<p>x"});
  EXPECT_EQ(P().ExpandLinkPath("d.htm"), Dir / "docs/d.htm");
}

TEST_F(PaneTest, PaintsInTheDesktopsColoursDarkThemesToo) {
  QPalette dark = P().palette();
  dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
  dark.setColor(QPalette::Text, QColor(0xE0, 0xE0, 0xE0));
  dark.setColor(QPalette::ButtonText, QColor(0xE0, 0xE0, 0xE0));
  dark.setColor(QPalette::Link, QColor(0x80, 0xC0, 0xFF));
  P().setPalette(dark);
  P().UseSettings(WindowPaneSettings());
  Load({"<p><b>MMMMMMMM</b> <a href=\"x.htm\">WWWWWWWW</a>"});
  const QImage shot = Panel()->grab().toImage();
  EXPECT_EQ(shot.pixel(250, 150), qRgb(0x20, 0x20, 0x20));
  const QPoint text = At("MMMM");
  int light = 0;
  for (int x = text.x() - 5; x < text.x() + 40; ++x)
    for (int y = text.y() - 6; y < text.y() + 4; ++y) light += qGray(shot.pixel(x, y)) > 0xA0 ? 1 : 0;
  EXPECT_GT(light, 20);
  // Links in the desktop's link colour.
  const QPoint link = At("WWWW");
  int linkColoured = 0;
  for (int x = link.x() - 5; x < link.x() + 40; ++x)
    for (int y = link.y() - 6; y < link.y() + 10; ++y) linkColoured += shot.pixel(x, y) == qRgb(0x80, 0xC0, 0xFF) ? 1 : 0;
  EXPECT_GT(linkColoured, 30);  // the underline at least
  // A page colour of its own stays.
  Load({"<body bgcolor=\"#FFFF00\"><p>x"});
  EXPECT_EQ(Panel()->grab().toImage().pixel(250, 150), qRgb(0xFF, 0xFF, 0x00));
}

TEST_F(PaneTest, TheFrameShowsTheFocusAndTabLeavesThePane) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* before = new QLineEdit(&window);
  auto* pane = new ThtmlPane(&window);
  auto* after = new QLineEdit(&window);
  layout->addWidget(before);
  layout->addWidget(pane);
  layout->addWidget(after);
  pane->SetBorderStyle(htSingle);
  window.show();
  QApplication::setActiveWindow(&window);
  pane->setFocus();
  ASSERT_TRUE(pane->hasFocus());
  const QColor highlight = pane->palette().color(QPalette::Highlight);
  EXPECT_EQ(pane->grab().toImage().pixel(0, 20), highlight.rgb());
  QTest::keyClick(pane, Qt::Key_Tab);
  EXPECT_TRUE(after->hasFocus());
  const QColor text = ToQColor(clBtnText, SystemPaletteFrom(pane->palette()));
  EXPECT_EQ(pane->grab().toImage().pixel(0, 20), text.rgb());
  QTest::keyClick(after, Qt::Key_Backtab);
  EXPECT_TRUE(pane->hasFocus());
}

TEST_F(PaneTest, FormSubmissionsAreRaisedAfterTheClickHasFinished) {
  EXPECT_FALSE(P().Forms().HasSubmitHandler());
  std::vector<std::string> got;
  P().OnFormSubmit = [&](const std::string& action, const std::string& target, const std::string& enc,
                         const std::string& method, const std::vector<std::string>& results) {
    got = {action, target, enc, method};
    got.insert(got.end(), results.begin(), results.end());
  };
  ASSERT_TRUE(P().Forms().HasSubmitHandler());
  P().Forms().SubmitForm({u"find.htm", u"_top", u"", u"GET", {u"q=caf\u00e9"}});
  EXPECT_TRUE(got.empty());
  QApplication::processEvents();
  EXPECT_EQ(got, (std::vector<std::string>{"find.htm", "_top", "", "GET", "q=caf\xC3\xA9"}));
}

}  // namespace
}  // namespace quillet::test
