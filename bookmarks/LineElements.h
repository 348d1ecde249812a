#pragma once
// The elements of a bookmark file, found line by line: where each list,
// heading, link, description, separator and piece of other markup starts.
// A line usually holds one element; some exporters put several on one line
// ("<DL><p><DT><A ...>"), and a description or a comment may run over
// several lines, so the scanner keeps what it needs from one line to the next.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "bookmarks/BookmarkFormat.h"

namespace quillet {

enum class ElementKind : uint8_t {
  ListOpen,     // <DL>, <UL> or <OL>
  ListClose,    // </DL>, </UL> or </OL>
  Heading,      // <DT> (or <LI>) with <H1>..<H6>: a folder's title
  PageHeading,  // a heading standing alone, such as the file's <H1>
  Link,         // <DT> or <LI> with <A HREF>, or <A HREF> alone
  Description,  // <DD> and the lines it runs over
  Separator,    // <HR>
  Item,         // <DT> or <LI> holding neither a link nor a heading
  Markup,       // any other tag: the file's header, comments, <p>
  Text,         // words outside any element
};

// Where an element starts. The first element of a line starts at column 0,
// so that a line holding one element belongs to it whole, indentation
// included.
struct LineElement {
  uint32_t Line = 0;
  uint32_t Col = 0;
  ElementKind Kind = ElementKind::Markup;
  // For lists: 'D', 'U' or 'O'.
  char ListTag = '\0';
};

// A tag at line[lt] ('<'): its name as written (without "/"), whether it is
// a closing tag, and where the name ends.
struct TagName {
  std::string_view Name;
  bool Closing = false;
  size_t NameEnd = 0;
};
std::optional<TagName> ReadTagName(std::string_view line, size_t lt);

// The ">" that ends the tag whose name ends at p, quoted values passed
// over; npos when the tag runs past the end of the line.
size_t FindTagEnd(std::string_view line, size_t p);

// The name is one of h1..h6 in any letter case.
bool IsHeadingTagName(std::string_view name);

class ElementScanner {
 public:
  // Appends the elements that start on the line, numbered index. A blank
  // line, or one that only continues the element before it (a description's
  // further lines, a comment or tag running on), starts none.
  void Scan(std::string_view line, uint32_t index, std::vector<LineElement>& out);

 private:
  enum class Carry : uint8_t { None, Comment, Tag };
  Carry carry_ = Carry::None;
  // The last element started is a description, which runs on over the lines
  // that start no element of their own.
  bool inDescription_ = false;
  std::vector<TagAttribute> attributes_;

  size_t ContinueCarry(std::string_view line);
};

// Every element of the lines, in order.
std::vector<LineElement> ScanElements(const std::vector<std::string>& lines);

}  // namespace quillet
