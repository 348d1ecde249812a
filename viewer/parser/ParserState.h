#pragma once
// The state of one running parse and the parser's loops (the parser's own
// header: viewer/parser/Parser.h is what others use).
//
// Files: Parser.cpp (entry operations, the state, sections and fonts),
// ParserBody.cpp (the body loop, CENTER/DIV and the nesting limit),
// ParserInline.cpp (the tokens every loop shares), ParserLists.cpp (the
// list loop), ParserTables.cpp (the table loop), ParserForms.cpp (FORM,
// INPUT, SELECT and TEXTAREA), ParserReaders.cpp (PRE,
// SCRIPT, MAP and plain text, read below the token level).
//
// Conventions. The current token is sy_ (tok_.Symbol()). A token handler
// (the loops and Do*) starts at the current token and returns with the next
// unhandled token current. A construct reader (Read*) starts at its tag and
// returns with the reader just past its construct, so the PRE reader can go
// on reading characters after it; in the token loops the caller then reads
// the next token.
#include <bitset>
#include <memory>
#include <string>
#include <vector>

#include "viewer/layout/Section.h"
#include "viewer/layout/SectionList.h"
#include "viewer/parser/Parser.h"
#include "viewer/style/Fonts.h"
#include "viewer/text/Tokenizer.h"

namespace quillet {

// A set of symbols that ends a loop.
class SymbolSet {
 public:
  SymbolSet() = default;
  SymbolSet(std::initializer_list<Sy> symbols) {
    for (Sy s : symbols) bits_.set(static_cast<uint8_t>(s));
  }
  bool Has(Sy s) const { return bits_.test(static_cast<uint8_t>(s)); }
  SymbolSet operator|(const SymbolSet& o) const {
    SymbolSet r;
    r.bits_ = bits_ | o.bits_;
    return r;
  }

 private:
  std::bitset<256> bits_;
};

class ParseState {
 public:
  // names is null for the plain-text operations.
  ParseState(HtmlParser& owner, TSectionList& doc, TNameList* names);
  // The cleanup that runs however the parse ends: the open section goes to
  // the current cell; the fonts pushed and the link are dropped.
  ~ParseState();
  ParseState(const ParseState&) = delete;
  ParseState& operator=(const ParseState&) = delete;

  Tokenizer& Tok() { return tok_; }
  // After the input is set: the first token, then the top-level body loop.
  void RunHtml();
  // After the input is set: every line a preformatted section.
  void RunText();

 private:
  friend struct LoopScope;

  // One open block beyond kMaxNesting, kept so that its end tag closes it
  // and not the block it is laid out in.
  struct ExcessBlock {
    bool IsList = false;
    Justification SavedAlignment = Justification::Left;
  };

  // --- Tokens ---
  void Next() { sy_ = tok_.NextToken(); }
  const TAttributeList& Attrs() const { return tok_.Attributes(); }
  // Skips text tokens that hold only white space.
  void SkipWhiteSpace();

  // --- Sections and fonts (Parser.cpp) ---
  const TMyFont& TopFont() const { return fonts_.back(); }
  // False when the stack is full: the caller's tag then changes nothing.
  bool PushFont(const TMyFont& font);
  // Never removes the base font.
  void PopFont();
  // The open section continues with the top font, the styles and SubSup.
  void ChangeFont();
  void OpenSection(std::unique_ptr<TSection> section);
  // A plain section at the current indent with the given alignment.
  void OpenSection(Justification align);
  void EnsureSection();
  // Ensures a section for content (text, a picture, a control) and gives it
  // the white space held back before it.
  void ContentSection();
  void FinishSection();
  void OpenPreSection();
  void AddBlock(std::unique_ptr<TSectionBase> block);
  // Ends an open link: its font is popped, the section told.
  void CloseLink();

  // --- Loops ---
  // Tokens until end of input, </BODY> or a terminator (left current).
  void BodyLoop(int depth, const SymbolSet& terminators);
  // OL, UL, DIR, MENU, DL, BLOCKQUOTE at the current token: the list loop
  // at depth, then its end tag consumed.
  void DoList(int depth, const SymbolSet& terminators);
  void ListLoop(int depth, const SymbolSet& terminators);
  // CENTER or DIV at the current token: a nested body loop with the
  // alignment it sets.
  void DoCenterDiv(int depth, const SymbolSet& terminators);
  // The tokens every loop shares; false (nothing read) for any other token.
  bool DoInline();

  // --- Nesting beyond kMaxNesting (ParserBody.cpp) ---
  bool AtNestingLimit() const { return nesting_ >= HtmlParser::kMaxNesting; }
  // A list or block opened at the limit: laid out at this depth.
  void OpenExcess(bool isList);
  // The end of an excess list or block: true when it closed one (and the
  // token was read past).
  bool CloseExcess();
  // The blocks opened past the limit since base end with their loop.
  void UnwindExcess(size_t base);

  // --- Block tokens (ParserBody.cpp) ---
  void DoTitle();
  void DoBody();
  void DoHorzLine();
  void DoBase();
  void DoSound();
  void DoMeta();

  // --- Inline tokens (ParserInline.cpp) ---
  void DoParagraph();
  void DoBreak();
  void DoHeading();
  void DoHeadingEnd();
  void SetStyle(Sy sy);
  void DoFixedFont();
  void DoFontTag(bool baseFont);
  void DoBigSmall(bool big);
  void DoAddress();
  void DoAddressEnd();
  void DoAnchor();
  void DoText();

  // --- Tables (ParserTables.cpp) ---
  // TABLE, at the current token. Closes an open link, saves the font depth,
  // cell, alignment and styles, runs the table loop (rows, cells with a body
  // loop each, caption) at the current indent, adds the ThtmlTable to the
  // enclosing cell and consumes the </TABLE>. Text outside any cell goes to
  // the enclosing cell, before the table. Inside kMaxTableNesting open
  // tables, SkipTable instead. A list loop first gives an open section that
  // holds no text a single space (GiveEmptySectionASpace).
  void DoTable();
  struct TableScope;
  void TableLoop(TableScope& t);
  // TD or TH: a new cell in the open row (an implied row when none), its
  // content read.
  void DoCell(TableScope& t);
  void DoCaption(TableScope& t);
  // Text outside any cell: a body loop into the enclosing cell.
  void TextBeforeTable(TableScope& t);
  // A cell boundary: the link closed, the fonts and styles of the table's
  // start back, the cell ended.
  void LeaveCell(TableScope& t);
  // The open section finished into the cell; no cell is current.
  void EndCell(TableScope& t);
  // Past the cell's tag: white space skipped, then CellBody.
  void CellContent();
  // The cell's blocks: a body loop up to the next of the table's tags.
  void CellBody();
  bool InCell(const TableScope& t) const;
  // A TABLE past the limit, and the tables inside it: their tags are skipped
  // as unknown tags are, so the text of their cells flows into the cell
  // around them; their </TABLE>s still pair.
  void SkipTable();
  bool AtTableLimit() const { return tables_ >= HtmlParser::kMaxTableNesting; }
  void GiveEmptySectionASpace();

  // --- Pictures and forms, the one place each branch goes; the PRE reader
  // calls them too.
  //
  // IMG, a construct reader. ContentSection(), which adds the picture from
  // the attributes (TSection::AddImage).
  void ReadImage();
  // INPUT and SELECT, a construct reader (ParserForms.cpp). The open
  // section makes the control for the current form; SELECT then reads its
  // OPTIONs up to </SELECT>.
  void ReadFormControl();
  // The OPTIONs of a SELECT into list (none: read and dropped), which is
  // then filled.
  void ReadOptions(TListBoxFormControlObj* list);
  // TEXTAREA, a construct reader: the control, then its lines read by
  // characters up to "</textarea" and the ">" after it.
  void ReadTextArea();
  // FORM makes a new ThtmlForm from the attributes the current form;
  // </FORM> clears it. A construct reader.
  void ReadForm(bool end);

  // --- Below the token level (ParserReaders.cpp) ---
  void ReadPre();
  // ReadPre's parts: the text so far into the section; a new line; a tag
  // inside PRE (true when it ends PRE).
  void FlushPre(std::u16string& run);
  void NewPreLine(std::u16string& run);
  bool ReadPreTag(std::u16string& run, bool& afterBreak);
  void ReadScript();
  void ReadMap();

  HtmlParser& owner_;
  TSectionList& doc_;
  TNameList* names_;
  ParseFlags flags_;
  Tokenizer tok_;
  Sy sy_ = Sy::None;

  // The cell finished sections go to: the document, or a table cell.
  TCell* currentCell_;
  std::unique_ptr<TSection> section_;
  std::vector<TMyFont> fonts_;
  TUrlTarget urlTarget_;
  bool linkOpen_ = false;
  // White space between tags is held back until content or a font change
  // follows in the same section: white space ending a section shows
  // nothing, and would cost a font run of its own after a link.
  bool pendingSpace_ = false;
  Justification align_ = Justification::Left;
  TFontStyles styles_;
  SubSupKind subSup_ = SubSupKind::None;
  int baseFontSize_ = 3;
  // The list level new sections are indented to.
  int indent_ = 0;
  // Lists and CENTER/DIV blocks open around the current token.
  int nesting_ = 0;
  std::vector<ExcessBlock> excess_;
  // The first excess entry of the running loop.
  size_t excessBase_ = 0;
  // The form new controls join; none: the document's implicit form.
  ThtmlForm* form_ = nullptr;
  // Tables open around the current token, and the ones being skipped past
  // the limit.
  int tables_ = 0;
  int skippedTables_ = 0;
};

// Entering a loop: counts the nesting when it is a list or block, and ends
// the excess blocks opened inside it when it returns.
struct LoopScope {
  LoopScope(ParseState& s, bool nests);
  ~LoopScope();
  LoopScope(const LoopScope&) = delete;
  LoopScope& operator=(const LoopScope&) = delete;

  ParseState& State;
  bool Nests;
  size_t SavedBase;
  int SavedIndent;
};

// The list end tags: any of them closes the innermost list.
bool IsListEnd(Sy sy);
// Text that is only white space (the tokenizer collapses it to one space).
bool IsBlank(std::u16string_view text);

}  // namespace quillet
