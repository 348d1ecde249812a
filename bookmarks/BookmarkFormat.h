#pragma once
// The bookmark HTML dialect: the line forms the program writes and the line
// readers every conversion and clean-up uses. Each reader looks at one line
// with plain substring searches; what does not match gives "" or 0.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AsciiCase.h"

namespace quillet {

// The characters Windows forbids in file names; each becomes "_" in a name
// derived from a line.
inline constexpr std::string_view ForbiddenNameChars = "\"*/:<>?\\|";

inline bool IsForbiddenNameChar(char c) { return ForbiddenNameChars.find(c) != std::string_view::npos; }

// Position of needle (in capitals) in line from index from, letters
// compared without regard to ASCII case; npos when absent.
size_t FindNoCase(std::string_view line, std::string_view needle, size_t from = 0);

// Two blanks (or blanksPerLevel) per level when indenting is on and level > 0,
// else "".
std::string IndentText(bool indentHtml, int level, int blanksPerLevel = 2);

// Empty, or every character a blank or control character (code <= 32).
bool IsBlankText(std::string_view text);

// The line holds "</DL><P>" in any letter case.
bool IsListEnd(std::string_view line);
// The line holds "<DT><H3" in any letter case.
bool IsHeading(std::string_view line);

// The folder name of a heading line. A character reference counts as the
// character it stands for; forbidden characters become "_".
std::string FolderNameOf(std::string_view line);

// A link's description line as browsers write it right after the link:
// "<DD>" (or "<DD " with attributes) first on the line after blanks, in any
// letter case.
bool IsDescriptionLine(std::string_view line);

// A line that ends a description running over several lines: one holding
// the start of another element ("<DT", "<DD", "<DL", "</DL", "<HR", a
// heading "<H1" to "<H6") or a link, in any letter case. Browsers write a
// description's own line breaks as they are and escape its "<".
bool EndsDescription(std::string_view line);

// One past the last line of the description whose "<DD>" line is
// lines[first]: it runs up to the line before the next line that
// EndsDescription, blank lines inside it included, blank lines after it not.
size_t DescriptionEnd(const std::vector<std::string>& lines, size_t first);

// The line holds a link tag: "<A" followed by a blank or ">", in any letter
// case.
bool HasLinkTag(std::string_view line);

// 1-based position where the link's description begins, or 0.
size_t DescriptionStart(std::string_view line);

// Where a link line's description lies, 0-based and half-open: from
// DescriptionStart up to the first "</A>" in any letter case. Empty when the
// line has no description before such an end tag.
struct LineSpan {
  size_t Begin = 0;
  size_t End = 0;
  bool Empty() const { return Begin >= End; }
  size_t Size() const { return Empty() ? 0 : End - Begin; }
};
LineSpan DescriptionSpan(std::string_view line);

// The address of the first "<A HREF=\"...\"" of the line, or "". It is
// returned as written (references not decoded), so that clean-ups compare the
// raw text; writers decode it with DecodeCharRefs.
std::string LinkAddress(std::string_view line);
// The same address as a view into line, for readers that keep no copy.
std::string_view LinkAddressView(std::string_view line);

// A description made into a file name (tags and "#word" runs dropped,
// forbidden characters made "_"), or "" when nothing usable is left. A
// character reference counts as the one character it stands for and is never
// taken for a tag or a "#" run.
std::string SafeFileName(std::string_view text);

// The character reference starting at text[at] ('&'): "&amp;", "&lt;",
// "&gt;", "&quot;", "&apos;", "&#NNN;" or "&#xHH;". Returns its length and
// the code point it stands for (saturated past U+10FFFF), or 0 when none
// stands there.
size_t ParseCharRef(std::string_view text, size_t at, uint32_t& cp);

// Reads the character reference starting at text[at]. On success stores the
// character's bytes (UTF-8 above 127) and the reference's length. References
// to control characters, surrogates or beyond U+10FFFF are not decoded, so
// decoding can never put a line break or a NUL into a written file or name;
// in a name such a reference becomes "_".
bool ReadCharRef(std::string_view text, size_t at, std::string& bytes, size_t& length);

// The text with every character reference replaced by its character.
std::string DecodeCharRefs(std::string_view text);

// The browser's bookkeeping attributes, names in capitals as browsers write
// them: the dates, and what it keeps about a page (icons, the character
// set, feed and site addresses).
inline constexpr std::string_view BookkeepingAttributes[] = {
    "ADD_DATE", "LAST_VISIT", "LAST_MODIFIED", "ICON", "ICON_URI", "LAST_CHARSET", "FEEDURL", "WEBSITE"};
// The user's own attributes, kept wherever they stand: the address, tags,
// the keyword and the marks of the toolbar and "Other Bookmarks" folders.
inline constexpr std::string_view KeptAttributes[] = {"HREF", "TAGS", "SHORTCUTURL", "PERSONAL_TOOLBAR_FOLDER",
                                                      "UNFILED_BOOKMARKS_FOLDER"};

// One attribute of a tag as written, as offsets into its line: the blanks
// before it, its name, its value without quotes (an empty range when it has
// none) and the end of the value with its closing quote.
struct TagAttribute {
  size_t LeadBegin = 0;
  size_t NameBegin = 0, NameEnd = 0;
  size_t ValueBegin = 0, ValueEnd = 0;
  size_t End = 0;
  char Quote = '\0';  // '"' or '\'' when the value is quoted
  bool HasValue = false;

  std::string_view Name(std::string_view line) const { return line.substr(NameBegin, NameEnd - NameBegin); }
  std::string_view Value(std::string_view line) const { return line.substr(ValueBegin, ValueEnd - ValueBegin); }
};

// Reads the attributes of the tag whose name ends at line[p], in their
// written order, up to the tag's ">", whose position goes to tagEnd. Returns
// false when the tag does not close on the line (out then holds the
// attributes read before the break).
bool ReadTagAttributes(std::string_view line, size_t p, std::vector<TagAttribute>& out, size_t& tagEnd);

// Removes the browser's bookkeeping from every "<A ...>" and "<H3 ...>" tag
// of a line: each attribute of BookkeepingAttributes, wherever it stands,
// and every attribute after the tag's first date (ADD_DATE, LAST_VISIT,
// LAST_MODIFIED) that is not one of KeptAttributes. Names count in exact
// letter case; the others stay in their order. A tag that does not close on
// the line stays as it is. Returns how many attributes went.
size_t StripDateAttributes(std::string& line);

// The written line forms, without indentation. A date (seconds since 1970)
// goes into an ADD_DATE attribute, as browsers write it; without one the tag
// has no attribute.
inline constexpr std::string_view ListOpenLine = "<DL><p>";
inline constexpr std::string_view ListCloseLine = "</DL><p>";
std::string HeadingLine(std::string_view name, std::optional<int64_t> addDate = std::nullopt);
std::string LinkLine(std::string_view address, std::string_view description,
                     std::optional<int64_t> addDate = std::nullopt);
// The same forms with attributes written as they are given: attributes is
// empty or starts with a blank (` ADD_DATE="1" TAGS="a"`).
std::string HeadingLineWith(std::string_view name, std::string_view attributes);
std::string LinkLineWith(std::string_view address, std::string_view description, std::string_view attributes);

// The lines browsers write before the top list of a bookmark file; the
// Content-Type line names UTF-8 or windows-1252.
std::vector<std::string> BrowserHeaderLines(bool utf8);

// Which '&' a written line turns into "&amp;": only one that would otherwise
// read back as a character reference (the program's own layout, which keeps
// "a&b" as it is), or every one (for importers that decode references).
enum class AmpersandEscape { WhereAmbiguous, Always };

// A folder or file name made safe for a written line: Linux names may hold
// '<', '>', '"' and line breaks, which would break the line form, so those
// become character references, as does an '&' as amp says. Everything else
// stays as it is.
std::string EscapeNameForLine(std::string_view name, AmpersandEscape amp = AmpersandEscape::WhereAmbiguous);
// An address made safe for a written line: '"' would end the HREF value, and
// an '&' as amp says.
std::string EscapeAddressForLine(std::string_view address, AmpersandEscape amp = AmpersandEscape::WhereAmbiguous);
// ` NAME="value"`, the value escaped as an address is.
std::string AttributeText(std::string_view name, std::string_view value,
                          AmpersandEscape amp = AmpersandEscape::WhereAmbiguous);

}  // namespace quillet
