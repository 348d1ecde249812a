// The one history of the document, over generated edits: every change it
// reports lets a view follow the lines exactly, undo and redo give back each
// text byte for byte, and the source view's editor always holds the
// document's lines, whatever is typed, commanded, undone or redone.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QUndoStack>
#include <random>

#include "app/DisplayCodec.h"
#include "app/window/DocumentHistory.h"
#include "app/window/DocumentViews.h"
#include "tests/gui/GuiTest.h"

namespace quillet::test {
namespace {

std::string RandomLine(std::mt19937& rng) {
  static const char* const pieces[] = {"<DT>", "a", "b", " ", "\xC3\xA9", "\xE2\x82\xAC", "<A HREF=\"x\">", ""};
  std::string line;
  for (int n = std::uniform_int_distribution<int>(0, 4)(rng); n > 0; --n)
    line += pieces[std::uniform_int_distribution<size_t>(0, std::size(pieces) - 1)(rng)];
  return line;
}

TextLines RandomLines(std::mt19937& rng, size_t most) {
  TextLines lines(std::uniform_int_distribution<size_t>(0, most)(rng));
  for (std::string& l : lines) l = RandomLine(rng);
  return lines;
}

TEST(DocumentHistory, ChangesLetAViewFollowAndUndoRedoGiveBackEveryText) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    TextLines lines = RandomLines(rng, 6);
    DocumentHistory history(lines);
    // A view's copy, kept by the changes alone.
    TextLines mirror = lines;
    QObject::connect(&history, &DocumentHistory::Changed, [&](const LineChange& c, const void*) {
      mirror.erase(mirror.begin() + static_cast<long>(c.At), mirror.begin() + static_cast<long>(c.At + c.Removed));
      mirror.insert(mirror.begin() + static_cast<long>(c.At), lines.begin() + static_cast<long>(c.At),
                    lines.begin() + static_cast<long>(c.At + c.Inserted));
    });
    std::vector<TextLines> texts{lines};
    for (int step = 0; step < 30; ++step) {
      const size_t at = std::uniform_int_distribution<size_t>(0, lines.size())(rng);
      const size_t removed = std::uniform_int_distribution<size_t>(0, lines.size() - at)(rng);
      if (rng() % 2) {
        history.Edit(at, removed, RandomLines(rng, 3), EditKind::Step, nullptr);
      } else {
        TextLines before = lines;
        const TextLines inserted = RandomLines(rng, 3);
        lines.erase(lines.begin() + static_cast<long>(at), lines.begin() + static_cast<long>(at + removed));
        lines.insert(lines.begin() + static_cast<long>(at), inserted.begin(), inserted.end());
        history.RecordCommand(std::move(before), QStringLiteral("Command"));
      }
      if (lines != texts.back()) texts.push_back(lines);
      ASSERT_EQ(mirror, lines);
    }
    for (auto text = texts.rbegin() + 1; text != texts.rend(); ++text) {
      history.Stack().undo();
      ASSERT_EQ(lines, *text);
      ASSERT_EQ(mirror, lines);
    }
    EXPECT_FALSE(history.Modified());
    while (history.Stack().canRedo()) history.Stack().redo();
    EXPECT_EQ(lines, texts.back());
    EXPECT_EQ(mirror, lines);
  }
}

class SourceSync : public ::testing::Test, public WindowFixture {
 protected:
  // The editor's lines as the document's bytes.
  TextLines EditorLines(MainWindow& f) {
    TextLines out;
    const QTextDocument* doc = f.sourceView->document();
    if (doc->characterCount() <= 1) return out;
    const DisplayEncoding enc = ChooseDisplayEncoding(Ctx().HtmlLines);
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
      out.push_back(EncodeFromDisplay(b.text().toStdString(), enc));
    return out;
  }
};

// With the editor filled in pieces of two lines too, each piece after the
// window went on.
TEST_F(SourceSync, TheEditorAlwaysHoldsTheDocumentsLines) {
  static const QString typed[] = {QStringLiteral("x"), QStringLiteral("\n"), QStringLiteral("<DT>"),
                                  QStringLiteral("\u00E9"), QStringLiteral("ab\ncd\n"), QString()};
  const size_t chunk = SourceView::FillChunkLines;
  for (const char* bytes : {"<DL><p>\r\n<DT><A HREF=\"http://a/\">Caf\xC3\xA9</A>\r\n</DL><p>\r\n",
                            "<DL><p>\r\n<DT><A HREF=\"http://a/\">Caf\xE9</A>\r\n</DL><p>\r\n"})
  for (const size_t lines : {chunk, size_t{2}}) {
    SCOPED_TRACE(bytes);
    SourceView::FillChunkLines = lines;
    WriteBytes(File("a.htm"), bytes);
    MainWindow& f = Create();
    Dialogs.Names = {File("a.htm")};
    Item("openFileAction").trigger();
    const TextLines opened = Ctx().HtmlLines;
    Item("sourceViewAction").trigger();
    ASSERT_TRUE(SourceFilled());
    std::mt19937 rng(7);
    for (int step = 0; step < 150; ++step) {
      const int size = f.sourceView->document()->characterCount() - 1;
      QTextCursor c(f.sourceView->document());
      c.setPosition(std::uniform_int_distribution<int>(0, size)(rng));
      switch (rng() % 8) {
        case 0: Item("undoAction").trigger(); break;
        case 1: Item("redoAction").trigger(); break;
        case 2: Item("boldDescriptionsAction").trigger(); break;
        case 3:
          c.setPosition(std::uniform_int_distribution<int>(c.position(), size)(rng), QTextCursor::KeepAnchor);
          c.removeSelectedText();
          break;
        default: c.insertText(typed[rng() % std::size(typed)]); break;
      }
      ASSERT_TRUE(SourceFilled());
      ASSERT_EQ(EditorLines(f), Ctx().HtmlLines) << "step " << step;
    }
    while (f.UndoStack().canUndo()) Item("undoAction").trigger();
    ASSERT_TRUE(SourceFilled());
    EXPECT_EQ(Ctx().HtmlLines, opened);
    EXPECT_EQ(EditorLines(f), opened);
    EXPECT_FALSE(f.Modified());
  }
  SourceView::FillChunkLines = chunk;
}

}  // namespace
}  // namespace quillet::test
