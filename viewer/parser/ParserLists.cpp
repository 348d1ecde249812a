// The list loop: OL, UL, DIR, MENU, DL and BLOCKQUOTE at a depth, their
// items and the lists nested in them. Any list end tag closes the innermost
// list, whether it matches or not.
#include <algorithm>
#include <climits>

#include "viewer/layout/ListItems.h"
#include "viewer/parser/ParserState.h"

namespace quillet {

namespace {

const SymbolSet kListEnds{Sy::OLEnd, Sy::ULEnd, Sy::DirEnd, Sy::MenuEnd, Sy::DLEnd, Sy::BlockQuoteEnd};

}  // namespace

void ParseState::ListLoop(int depth, const SymbolSet& terminators) {
  LoopScope scope(*this, true);
  const bool ordered = sy_ == Sy::OL;
  int number = 1;
  char16_t style = u'1';
  bool plain = false;
  if (sy_ == Sy::OL) {
    if (const TAttribute* start = Attrs().Find(Sy::Start); start && start->Number >= 0) number = start->Number;
    if (const TAttribute* type = Attrs().Find(Sy::Type); type && !type->Text.empty()) style = type->Text.front();
  } else if (sy_ == Sy::UL) {
    plain = Attrs().Has(Sy::Plain);
  }
  indent_ = depth;
  FinishSection();
  Next();
  if (IsListEnd(sy_)) return;

  for (;;) {
    if (sy_ == Sy::Eof) break;
    if (CloseExcess()) continue;
    if (IsListEnd(sy_) || terminators.Has(sy_)) break;
    switch (sy_) {
      case Sy::LI:
        FinishSection();
        if (ordered)
          OpenSection(std::make_unique<TOListItem>(doc_, depth, urlTarget_, TopFont(), styles_, number, style));
        else
          OpenSection(std::make_unique<TUListItem>(doc_, depth, urlTarget_, TopFont(), styles_, plain));
        if (ordered && number < INT_MAX) ++number;
        indent_ = depth;
        Next();
        SkipWhiteSpace();
        if (sy_ == Sy::P) Next();  // the item is its paragraph
        break;
      case Sy::DT: case Sy::DD:
        FinishSection();
        indent_ = sy_ == Sy::DT ? std::max(depth - 1, 0) : depth;
        OpenSection(std::make_unique<TDListItem>(doc_, indent_, urlTarget_, TopFont(), styles_));
        Next();
        break;
      case Sy::OL: case Sy::UL: case Sy::Dir: case Sy::Menu: case Sy::DL:
        DoList(depth + 1, terminators);
        break;
      case Sy::BlockQuote:
        FinishSection();
        DoList(depth + 1, terminators);
        break;
      case Sy::HR:
        DoHorzLine();
        break;
      case Sy::Center: case Sy::Div:
        DoCenterDiv(depth, terminators | kListEnds);
        break;
      case Sy::Table:
        // An item holding only a table keeps its marker's line.
        if (!AtTableLimit()) GiveEmptySectionASpace();
        DoTable();
        break;
      default:
        if (!DoInline()) Next();  // anything else is skipped
        break;
    }
  }
  FinishSection();
}

}  // namespace quillet
