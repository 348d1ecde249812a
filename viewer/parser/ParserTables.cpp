// The table loop: TABLE with its rows, cells and caption, each cell's
// content read by a body loop of its own; and the tables nested deeper than
// kMaxTableNesting, which are read as if their tags were unknown.
#include "viewer/parser/ParserState.h"
#include "viewer/style/Colors.h"
#include "viewer/tables/Table.h"

namespace quillet {

namespace {

// What ends a cell's content: the table's own tags.
const SymbolSet kCellEnds{Sy::TableEnd, Sy::TD, Sy::TDEnd, Sy::TR, Sy::TREnd,
                          Sy::TH, Sy::THEnd, Sy::Caption, Sy::CaptionEnd};

}  // namespace

// What a table saves of the parse around it, and gives back when the table
// ends, however it ends: when a comment open at the end of the input stops
// the parse half way through, the rows read so far stay, as the document
// keeps its other blocks.
struct ParseState::TableScope {
  explicit TableScope(ParseState& s)
      : State(s),
        Enclosing(*s.currentCell_),
        FontDepth(s.fonts_.size()),
        SavedAlignment(s.align_),
        SavedStyles(s.styles_),
        Table(std::make_unique<ThtmlTable>(s.doc_, s.Attrs(), s.indent_, &Enclosing, s.align_)) {
    ++State.tables_;
  }
  ~TableScope() {
    State.LeaveCell(*this);
    State.currentCell_ = &Enclosing;
    Enclosing.Add(std::move(Table));
    State.styles_ = SavedStyles;
    State.align_ = SavedAlignment;
    --State.tables_;
  }
  TableScope(const TableScope&) = delete;
  TableScope& operator=(const TableScope&) = delete;

  ParseState& State;
  TCell& Enclosing;
  size_t FontDepth;
  Justification SavedAlignment;
  TFontStyles SavedStyles;
  std::unique_ptr<ThtmlTable> Table;
  // The open row, none before the first TR or TD and after a </TR>.
  TCellList* Row = nullptr;
};

bool ParseState::InCell(const TableScope& t) const { return currentCell_ != &t.Enclosing; }

void ParseState::DoTable() {
  if (tables_ >= HtmlParser::kMaxTableNesting) {
    SkipTable();
    return;
  }
  CloseLink();
  FinishSection();
  {
    TableScope table(*this);
    Next();
    TableLoop(table);
  }
  // The table is content: a paragraph after it is a break, whatever its
  // last cell held.
  flags_.ParagraphSpaceGiven = false;
  if (sy_ == Sy::TableEnd) Next();
}

void ParseState::TableLoop(TableScope& t) {
  LoopScope scope(*this, false);
  for (;;) {
    switch (sy_) {
      case Sy::Eof: case Sy::TableEnd:
        return;
      case Sy::TD: case Sy::TH:
        DoCell(t);
        break;
      case Sy::TDEnd: case Sy::THEnd:
        EndCell(t);
        Next();
        break;
      case Sy::TR:
        CloseLink();
        EndCell(t);
        t.Row = &t.Table->AddRow(Attrs());
        Next();
        break;
      case Sy::TREnd:
        CloseLink();
        EndCell(t);
        t.Row = nullptr;
        Next();
        break;
      case Sy::Caption:
        DoCaption(t);
        break;
      case Sy::Text:
        // Text outside any cell is shown before the table; white space
        // there is only the markup's layout.
        if (InCell(t))
          CellBody();
        else if (IsBlank(tok_.Text()))
          Next();
        else
          TextBeforeTable(t);
        break;
      case Sy::BodyEnd:
        // Ends a cell's body loop, not the table: the cell goes on.
        Next();
        if (InCell(t) && sy_ != Sy::Eof && !kCellEnds.Has(sy_)) CellBody();
        break;
      default:
        Next();  // anything else is skipped
        break;
    }
  }
}

void ParseState::LeaveCell(TableScope& t) {
  CloseLink();
  if (fonts_.size() > t.FontDepth)
    fonts_.erase(fonts_.begin() + static_cast<std::ptrdiff_t>(t.FontDepth), fonts_.end());
  styles_ = t.SavedStyles;
  EndCell(t);
}

void ParseState::EndCell(TableScope& t) {
  FinishSection();
  currentCell_ = &t.Enclosing;
}

void ParseState::DoCell(TableScope& t) {
  LeaveCell(t);
  if (!t.Row) t.Row = &t.Table->AddRow({});
  const bool heading = sy_ == Sy::TH;
  align_ = ReadAlignment<Justification>(Attrs()).value_or(
      t.Row->Align.value_or(heading ? Justification::Center : Justification::Left));
  styles_.Bold = heading;
  TCellObj& cell = t.Row->AddCell(std::make_unique<TCellObj>(&doc_, Attrs(), t.Row->VAlign));
  currentCell_ = &cell.Cell;
  CellContent();
}

void ParseState::DoCaption(TableScope& t) {
  LeaveCell(t);
  currentCell_ = &t.Table->StartCaption(Attrs());
  align_ = Justification::Center;
  CellContent();
  EndCell(t);
  if (sy_ == Sy::CaptionEnd) Next();
}

void ParseState::CellContent() {
  // A cell starts as after a paragraph break: a P first adds no space. The
  // white space before its content is skipped; reading content uses the
  // break up, as ever.
  flags_.ParagraphSpaceGiven = true;
  Next();
  while (sy_ == Sy::Text && IsBlank(tok_.Text())) {
    flags_.ParagraphSpaceGiven = true;
    Next();
  }
  CellBody();
}

void ParseState::CellBody() {
  LoopScope scope(*this, false);
  // A cell lays its blocks out from its own left edge, whatever list the
  // table stands in.
  indent_ = 0;
  BodyLoop(0, kCellEnds);
}

void ParseState::TextBeforeTable(TableScope& t) {
  LeaveCell(t);
  align_ = t.SavedAlignment;
  {
    LoopScope scope(*this, false);
    BodyLoop(indent_, kCellEnds);
  }
  FinishSection();
}

void ParseState::GiveEmptySectionASpace() {
  if (!section_) return;
  pendingSpace_ = false;
  section_->SpaceIfEmpty();
}

void ParseState::SkipTable() {
  // Inside a table that is being skipped already: counted, so that its
  // </TABLE> does not end the one being skipped.
  if (skippedTables_ > 0) {
    ++skippedTables_;
    Next();
    return;
  }
  skippedTables_ = 1;
  LoopScope scope(*this, false);
  Next();
  while (sy_ != Sy::Eof) {
    if (sy_ == Sy::TableEnd) {
      Next();
      if (--skippedTables_ == 0) break;
    } else if (kCellEnds.Has(sy_) || sy_ == Sy::BodyEnd) {
      Next();
    } else {
      BodyLoop(indent_, kCellEnds);
    }
  }
  skippedTables_ = 0;
}

}  // namespace quillet
