#pragma once
// A text section: one paragraph of flowing text in runs of fonts, broken
// into lines for the width available, drawn with the selection, and asked
// about links, cursor positions and search hits. List items and
// preformatted lines (viewer/layout/ListItems.h) are text sections too.
//
// Pictures and form controls stand in the text as one placeholder
// character each (kImageChar, kFormControlChar), the object remembering its
// position. Pictures (viewer/layout/ImageObj.h) take part in measuring, line
// breaking, line heights, drawing and the hit tests; pictures aligned left
// or right float, entered into the cell's indent manager as the lines meet
// them. Form controls (viewer/forms/FormControls.h) are windowed controls: they
// count their width and height in the layout, which tells each where it
// lies, and a paint places the control itself there (PlaceAt) rather than
// drawing anything. Line breaking treats the placeholders as break points,
// like blanks, and breaks text written without blanks by Unicode's rules
// (viewer/text/LineBreaks.h). A line holding right-to-left text keeps its runs
// of one direction and is drawn and hit-tested by them (viewer/text/Bidi.h).
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/TextCodec.h"
#include "viewer/layout/FirstInPlace.h"
#include "viewer/layout/ImageObj.h"
#include "viewer/layout/SectionBase.h"
#include "viewer/layout/SparseVector.h"
#include "viewer/style/Fonts.h"
#include "viewer/text/Attributes.h"
#include "viewer/text/Bidi.h"
#include "viewer/text/LineBreaks.h"
#include "viewer/text/Symbols.h"

namespace quillet {

class ThtmlForm;

inline constexpr char16_t kImageChar = 4;
inline constexpr char16_t kFormControlChar = 2;
inline bool IsPlaceholder(char16_t c) { return c == kImageChar || c == kFormControlChar; }
// Both placeholders, for searches of a run of text.
inline constexpr char16_t kPlaceholderChars[] = {kFormControlChar, kImageChar, 0};

// The top of a form control on a line with this baseline and font
// descent: check boxes and radio buttons stand on the baseline, the other
// controls reach down to the bottom of the text.
int ControlTop(const TFormControlObj& control, int baseline, int descent);

enum class ClearKind : uint8_t { None, Left, Right, Both };
enum class ListKind : uint8_t { None, Bullet, Ordered, Definition };

// The parser's style flags, added to a section's fonts.
struct TFontStyles {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
};
// The font with the given styles added (styles already set stay set).
TMyFont WithStyles(TMyFont font, TFontStyles styles);

// One laid-out line.
struct LineRec {
  int Start = 0;        // buffer index of its first character
  int Ln = 0;           // number of characters, trailing spaces included
  int LineHt = 0;       // height of the tallest font of the line
  int SpaceBefore = 0;  // room above the text for objects taller than it
  int SpaceAfter = 0;   // room below the text
  int Descent = 0;      // largest font descent on the line
  int LineIndent = 0;   // x where the text starts, relative to the cell
  int DrawHeight = 0;   // height it paints (floats placed on it included)
  int DrawY = 0;        // baseline at the last drawing
  int DrawXX = 0;       // x reached at the last drawing
  // Where right-to-left text turns the line around: its runs of one
  // direction in screen order. Empty for a line that reads left to right
  // throughout, which is drawn and hit-tested in reading order.
  SparseVector<BidiRun> Runs;

  // The height the line takes in the flow.
  int Height() const { return LineHt + SpaceBefore + SpaceAfter; }
};

class TSection : public TSectionBase {
 public:
  // Characters a section takes; further text is dropped.
  static constexpr int kMaxText = 20000;
  // The width a preformatted line may take: it never wraps.
  static constexpr int kNoWrapWidth = 32000;

  // An empty section at an indent level (35 pixels each) with its first
  // font run: the font with the styles added and, when link is a link, that
  // link. The document gives the sizes of sub- and superscript fonts.
  TSection(TSectionList& doc, int level, Justification justify, const TUrlTarget& link,
           const TMyFont& font, TFontStyles styles = {});

  std::string_view ClassName() const override { return "TSection"; }

  // --- Content (the parser's side) ---

  // Appends collapsed text: nothing when empty or when the section already
  // holds more than kMaxText characters; a leading space is dropped when the
  // section is empty, ends with a space, or holds nothing but floating
  // pictures.
  virtual void AddText(std::u16string_view text);
  // Continues with another font: replaces the last run's font when it has
  // no characters yet, else starts a run at the end, keeping the previous
  // run's link. A sub- or superscript run is 3/4 of the font's size.
  void ChangeFont(const TMyFont& font, TFontStyles styles = {}, SubSupKind subsup = SubSupKind::None);
  // A link starts (sy == Sy::A, with link) or ends (any other symbol): the
  // font changes, then the last run's link is ended or set.
  void HRefChange(Sy sy, const TMyFont& font, const TUrlTarget& link, TFontStyles styles = {},
                  SubSupKind subsup = SubSupKind::None);
  // From BR CLEAR: "left", "right", anything else both; no CLEAR, no change.
  void SetClear(const TAttributeList& attributes);
  // The alignment for the section after a BR; an empty section first gets a
  // space, so that its empty line keeps its height.
  Justification AlignmentForBreak();
  // Adds a picture from an IMG tag's attributes at Len(), and its
  // placeholder kImageChar; cell is the cell the section lies in. Null (and
  // nothing added) when the section is full.
  TImageObj* AddImage(const TAttributeList& attributes, TCell& cell);
  // An empty section gets a space, so that its line keeps its height (and a
  // list item its marker).
  void SpaceIfEmpty();
  // INPUT, SELECT, TEXTAREA: the control the tag makes in form (null: the
  // document's implicit form), in cell; a hidden field stands nowhere, an
  // image button is a picture (AddImage) tied to its control, any other
  // control gets the placeholder kFormControlChar at Len(). Null (and
  // nothing made) when the section is full or the tag makes no control.
  TFormControlObj* AddFormControl(ThtmlForm* form, Sy tag, const TAttributeList& attributes, TCell& cell);

  // --- State ---

  // The text; Len() characters. Added to through AddText, which keeps
  // track of what layout needs to know about it.
  std::u16string Buff;
  int Len() const { return static_cast<int>(Buff.size()); }
  // Font runs by increasing start, the first at 0.
  TFontList Fonts;

 private:
  // Pictures and controls, which nearly every section lacks, behind one
  // pointer; null while the section has neither.
  struct Objects {
    std::vector<std::unique_ptr<TImageObj>> Images;
    std::vector<TFormControlObj*> FormControls;
  };
  std::unique_ptr<Objects> objects_;
  Objects& TakeObjects();

 public:
  // The section's pictures in buffer order.
  std::span<const std::unique_ptr<TImageObj>> Images() const;
  // The picture whose placeholder is at buffer index pos, or null.
  TImageObj* ImageAt(int pos) const;
  // The section's form controls that stand in the text, in buffer order
  // (owned by their forms).
  std::span<TFormControlObj* const> FormControls() const;
  // The control whose placeholder is at buffer index pos, or null.
  TFormControlObj* FormControlAt(int pos) const;
  // Built by layout; one line, the usual case, costs no allocation.
  FirstInPlace<LineRec> Lines;
  // The small fields last: a derived section's own small fields can take
  // what would be padding at the end. A large page has a section a link.
  int Level;
  int IndentX;
  // The left edge at the section's top, found by layout; markers hang left
  // of it.
  int LeftEdge = 0;
  Justification Justify;
  ClearKind ClearAttr = ClearKind::None;
  ListKind ListType = ListKind::None;

 protected:
  // The highest code unit of the text: below kFirstRtlUnit and
  // kFirstUnspacedUnit, lines need nothing of ICU.
  char16_t highest_ = 0;

 public:
  // The characters of a laid-out line.
  std::u16string_view LineText(const LineRec& line) const {
    return std::u16string_view(Buff).substr(static_cast<size_t>(line.Start), static_cast<size_t>(line.Ln));
  }
  // The list marker as text ("3.", a bullet "\u2022"); empty for none.
  virtual std::u16string MarkerText() const { return {}; }

  // --- Measuring ---

  // Width of count characters from start across runs, each run's overhang
  // taken off; trailing spaces left out when asked.
  int TextExtent(Canvas& canvas, int start, int count, bool withoutTrailingSpaces = false);
  // How many characters from start fit in width, found run by run with a
  // binary search inside a run; at least one. used receives their width.
  // Pictures count their width, floating ones none.
  int FindCountThatFits(Canvas& canvas, int width, int start, int* used = nullptr);

  // --- Block operations ---

  int DrawLogic(Canvas& canvas, int Y, IndentManager& IMgr, int& MaxWidth, int& Curs) override;
  int Draw(Canvas& canvas, const Rect& ClipRect, IndentManager& IMgr, int X, int Y) override;
  bool GetURL(Canvas& canvas, int X, int Y, THotSpot& hot) override;
  bool PtInObject(int X, int Y, TObjectHit& hit) override;
  int FindCursor(Canvas& canvas, int X, int Y, TCursorHit& hit) override;
  int FindString(int From, std::u16string_view Text, bool MatchCase) override;
  int FindStringBefore(int Before, std::u16string_view Text, bool MatchCase) override;
  bool CursorToXY(Canvas& canvas, int Cursor, int& X, int& Y) override;
  bool GetChAtPos(int Pos, char16_t& Ch, const TSectionBase*& Obj) override;
  void UpdateFonts() override;
  void MinMaxWidth(Canvas& canvas, int& Min, int& Max) override;
  // A font change after the last text leaves a run without characters,
  // which draws nothing: it goes when the section is added to its cell.
  void AddedToCell() override;
  // The controls' document y move with the section.
  void MoveBy(int dy, int dcurs) override;

 protected:
  // Preformatted text: never wraps, lines clipped when drawn.
  virtual bool NoWrap() const { return false; }
  // Paints the list marker of the first line: x is the section's left edge
  // on the canvas, top and baseline the first line's.
  virtual void DrawMarker(Canvas& canvas, int x, const LineRec& line, int top, int baseline);
  // Appends text as given (the buffer limit checked by the caller).
  void AppendText(std::u16string_view text);

 private:
  // The floating pictures a line being laid out meets: those met before
  // anything else on the line are entered into the indent manager at once
  // (Now), later ones when the line is finished (Deferred).
  struct LineFloats {
    IndentManager* IMgr = nullptr;
    int Y = 0;
    std::vector<TImageObj*> Now;
    std::vector<TImageObj*> Deferred;
  };
  // Counts characters fitting in width from start within [start, end); at
  // least one when atLeastOne. With floats (layout) the floating pictures
  // met are placed or deferred.
  int CountThatFits(Canvas& canvas, int width, int start, int end, bool atLeastOne, int* used,
                    LineFloats* floats = nullptr);
  // Width of [from, to) of run i: its text measured, pictures counting
  // their width (floating ones none).
  int StretchWidth(Canvas& canvas, size_t i, int from, int to);
  // Enters a floating picture into the indent manager at y.
  void PlaceFloat(TImageObj& image, IndentManager& IMgr, int y);
  // The first placeholder of a picture or control in [from, to), or to
  // when none.
  int NextObjectChar(int from, int to) const;
  bool HasObjects() const { return objects_ != nullptr; }
  // The controls whose placeholders lie in [from, to), as a range of
  // FormControls.
  std::pair<size_t, size_t> ControlsIn(int from, int to) const;
  // The pictures whose placeholders lie in [from, to), as a range of Images.
  std::pair<size_t, size_t> ImagesIn(int from, int to) const;
  // The index of the line holding section y, or -1; top receives its top.
  int LineAtY(int y, int& top) const;
  // Measures, aligns and adds the line [start, end) at y; y moves below it.
  // The floats the line met are given, and the section's directions.
  void FinishLine(Canvas& canvas, IndentManager& IMgr, int& y, int start, int end, LineFloats* floats,
                  BidiParagraph& bidi);
  // FinishLine's phases: the line's heights, its start, and its pictures'
  // and controls' places.
  void MeasureLine(Canvas& canvas, LineRec& line) const;
  int LineIndentAt(Canvas& canvas, const IndentManager& IMgr, int y, const LineRec& line);
  void PlaceLineObjects(Canvas& canvas, LineRec& line, int lineTop);
  // Where the line [start, end), of which c is the last character that
  // fits, ends: at blanks, pictures and controls as ever, between the
  // characters of scripts written without blanks, and, for a word wider
  // than the line, where Unicode's rules allow, else between two of its
  // characters.
  int LineEnd(int start, int c, LineBreaks& breaks);
  // A stretch of a line that holds right-to-left text, drawn in one go:
  // text of one font run in one direction, or one picture or control.
  // [From, To) in the buffer; X (relative to the cell) and Width on screen.
  struct LinePiece {
    int From = 0;
    int To = 0;
    int X = 0;
    int Width = 0;
    bool Rtl = false;
    size_t Font = 0;  // index of its font run
  };
  // The pieces of a line with Runs, left to right on screen.
  std::vector<LinePiece> VisualPieces(Canvas& canvas, const LineRec& line);
  // The character of a line under x (relative to the cell): K its index in
  // the line (line.Ln when x is past the last one), Left and Width its box,
  // Rtl whether it reads right to left.
  struct CharHit {
    int K = 0;
    int Left = 0;
    int Width = 0;
    bool Rtl = false;
  };
  CharHit CharAtX(Canvas& canvas, const LineRec& line, int x);
  // The x of the point before buffer position pos on a line holding it, as
  // the reader sees it: right of the character when it reads right to left.
  int XOfPosition(Canvas& canvas, const LineRec& line, int pos);
  // Paints a line in chunks; cellX and clipRight bound a preformatted line.
  void DrawLine(Canvas& canvas, LineRec& line, int cellX, int top, int clipRight);
  // Paints a line with Runs piece by piece, the selection within each piece
  // in place, so that the line keeps its order whatever is selected.
  void DrawPieces(Canvas& canvas, LineRec& line, int cellX, int selB, int selE);
  // Paints text of a run at x on the line, inverted when selected; returns
  // its advance.
  int DrawText(Canvas& canvas, TFontObj& run, const LineRec& line, int x, std::u16string_view text, bool selected,
               TextDirection direction);
  // Draws the picture, or places the control, whose placeholder is at pos,
  // at x; returns the width it takes on the line.
  int DrawObject(Canvas& canvas, const LineRec& line, int pos, int x, int cellX, TFontObj& run);
  int ClearDistance(const IndentManager& IMgr, int y) const;
  // Starts a run at the end with the font (or gives it to the last run when
  // that has no characters yet), linked to link.
  void StartRun(TMyFont font, SubSupKind subsup, RunLink link);
};

}  // namespace quillet
