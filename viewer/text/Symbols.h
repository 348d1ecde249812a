#pragma once
// The symbols of the pane's HTML reader: one enumeration for tokens, tags
// and attribute names. A tag with an end form has its end symbol right after
// its start symbol.
#include <cstdint>
#include <string_view>

namespace quillet {

// Tags with a start and an end symbol, in table order.
#define QUILLET_PAIRED_TAGS(X)                                                                   \
  X(Html, "HTML") X(Title, "TITLE") X(Body, "BODY") X(Head, "HEAD") X(B, "B") X(I, "I")           \
  X(H, "H") X(Em, "EM") X(Strong, "STRONG") X(U, "U") X(Cite, "CITE") X(Var, "VAR") X(TT, "TT")   \
  X(Code, "CODE") X(Kbd, "KBD") X(Samp, "SAMP") X(OL, "OL") X(UL, "UL") X(Dir, "DIR")             \
  X(Menu, "MENU") X(DL, "DL") X(A, "A") X(Address, "ADDRESS") X(BlockQuote, "BLOCKQUOTE")         \
  X(Pre, "PRE") X(Center, "CENTER") X(Table, "TABLE") X(TD, "TD") X(TH, "TH")                     \
  X(Caption, "CAPTION") X(Form, "FORM") X(TextArea, "TEXTAREA") X(Select, "SELECT")               \
  X(Option, "OPTION") X(Font, "FONT") X(Sub, "SUB") X(Sup, "SUP") X(Big, "BIG")                   \
  X(Small, "SMALL") X(P, "P") X(Map, "MAP") X(FrameSet, "FRAMESET") X(NoFrames, "NOFRAMES")       \
  X(Script, "SCRIPT") X(Div, "DIV") X(S, "S") X(Strike, "STRIKE") X(TR, "TR")

// Tags with a start symbol only; their end tags are unknown tags.
#define QUILLET_START_ONLY_TAGS(X)                                                               \
  X(LI, "LI") X(BR, "BR") X(HR, "HR") X(DD, "DD") X(DT, "DT") X(Img, "IMG") X(Base, "BASE")       \
  X(Button, "BUTTON") X(Input, "INPUT") X(Selected, "SELECTED") X(BaseFont, "BASEFONT")           \
  X(Area, "AREA") X(Frame, "FRAME") X(BgSound, "BGSOUND") X(Wrap, "WRAP") X(Meta, "META")

// Attribute names with symbols of their own. TEXT, SELECTED and WRAP share
// the symbols Text, Selected and Wrap; VALUE stands once.
#define QUILLET_ATTRIBUTES(X)                                                                    \
  X(Href, "HREF") X(Name, "NAME") X(Src, "SRC") X(Alt, "ALT") X(Align, "ALIGN")                   \
  X(BgColor, "BGCOLOR") X(Link, "LINK") X(Background, "BACKGROUND") X(ColSpan, "COLSPAN")         \
  X(RowSpan, "ROWSPAN") X(Border, "BORDER") X(CellPadding, "CELLPADDING")                         \
  X(CellSpacing, "CELLSPACING") X(VAlign, "VALIGN") X(Width, "WIDTH") X(Start, "START")           \
  X(Value, "VALUE") X(Type, "TYPE") X(CheckBox, "CHECKBOX") X(Radio, "RADIO")                     \
  X(Method, "METHOD") X(Action, "ACTION") X(Checked, "CHECKED") X(Size, "SIZE")                   \
  X(MaxLength, "MAXLENGTH") X(Cols, "COLS") X(Rows, "ROWS") X(Multiple, "MULTIPLE")               \
  X(Face, "FACE") X(Color, "COLOR") X(Transp, "TRANSP") X(Clear, "CLEAR") X(IsMap, "ISMAP")       \
  X(BorderColor, "BORDERCOLOR") X(UseMap, "USEMAP") X(Shape, "SHAPE") X(Coords, "COORDS")         \
  X(NoHref, "NOHREF") X(Height, "HEIGHT") X(Plain, "PLAIN") X(Target, "TARGET")                   \
  X(NoResize, "NORESIZE") X(Scrolling, "SCROLLING") X(HSpace, "HSPACE") X(Language, "LANGUAGE")   \
  X(FrameBorder, "FRAMEBORDER") X(MarginWidth, "MARGINWIDTH") X(MarginHeight, "MARGINHEIGHT")     \
  X(Loop, "LOOP") X(OnClick, "ONCLICK") X(NoShade, "NOSHADE") X(HttpEquiv, "HTTP-EQUIV")          \
  X(Content, "CONTENT") X(EncType, "ENCTYPE")

enum class Sy : uint8_t {
  None,
  Text,         // a text run or one decoded reference; also the TEXT attribute
  OtherChar,    // one character that starts no other token, such as a stray ">"
  UnknownTag,   // a name not in the table, or the end tag of a start-only tag
  Eof,          // end of input
  Eol,          // a line end, only while a TEXTAREA or SCRIPT body is read
  UnknownAttr,  // an attribute name not in the table
#define QUILLET_SY_PAIR(name, text) name, name##End,
  QUILLET_PAIRED_TAGS(QUILLET_SY_PAIR)
#undef QUILLET_SY_PAIR
#define QUILLET_SY_ONE(name, text) name,
  QUILLET_START_ONLY_TAGS(QUILLET_SY_ONE)
  QUILLET_ATTRIBUTES(QUILLET_SY_ONE)
#undef QUILLET_SY_ONE
};

// Tag symbols by upper-case name; Sy::UnknownTag when the name is not a tag,
// or (for end tags) when the tag has no end symbol.
Sy StartTagSymbol(std::u16string_view upperName);
Sy EndTagSymbol(std::u16string_view upperName);
// Attribute symbol by upper-case name; Sy::UnknownAttr when not known.
Sy AttributeSymbol(std::u16string_view upperName);

// Whether a symbol is the end symbol of a paired tag, and the pairing.
bool IsEndTag(Sy s);
bool HasEndTag(Sy start);
inline Sy EndOf(Sy start) { return static_cast<Sy>(static_cast<uint8_t>(start) + 1); }
inline Sy StartOf(Sy end) { return static_cast<Sy>(static_cast<uint8_t>(end) - 1); }

// Whether the attributes of this start tag are kept for the parser (the
// others are read and dropped, leaving the previous tag's list).
bool KeepsAttributes(Sy tag);

// A readable name: "TABLE", "/TABLE", "text", "HREF", ... (messages, dumps).
std::string_view SymbolName(Sy s);

}  // namespace quillet
