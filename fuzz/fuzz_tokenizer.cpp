// The pane's HTML reader on arbitrary bytes: the string-list and memory-block
// inputs, with and without an include handler that hands back junk, PRE and
// script bodies read character by character as the parser does. It must end,
// stay in bounds and keep its token limits.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/style/Colors.h"
#include "viewer/text/Tokenizer.h"
#include "viewer/text/ViewerErrors.h"

using namespace quillet;

namespace {

// What include handlers hand back besides pieces of the input.
constexpr std::string_view kJunk[] = {"",          "<!-- open", "\x1A",       "<!--#x-->", "&#x",
                                      "\xE9\xFF\r", "<A HREF=\"", "-->",        "\r\n\n\r",  "<!"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const bool strings = options & 1;
  const bool include = options & 2;
  const bool lineReaders = options & 4;

  ParseFlags flags;
  Tokenizer tok(flags);
  size_t included = 0;
  if (include) {
    tok.Reader().SetIncludeHandler([&](const std::string& command, const std::vector<std::string>& params) {
      const size_t pick = command.size() + params.size();
      std::string result(pick % 3 == 0 ? text.substr(pick % (text.size() + 1), 64)
                                       : kJunk[pick % std::size(kJunk)]);
      included += result.size() + 1;
      return result;
    });
  }
  std::vector<std::string> lines;
  try {
    if (strings) {
      size_t start = 0;
      for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
          lines.emplace_back(text.substr(start, i - start));
          start = i + 1;
        }
      }
      tok.Reader().SetStrings(lines);
    } else {
      tok.Reader().SetBuffer(text);
    }
    CharReader& r = tok.Reader();
    size_t tokens = 0;
    for (;;) {
      // Every token but the end consumes at least one character.
      if (++tokens > 2 * (text.size() + lines.size() + included) + 16) __builtin_trap();
      const Sy sy = tok.NextToken();
      if (tok.Text().size() > Tokenizer::kMaxTokenText) __builtin_trap();
      if (sy == Sy::Text && tok.Text().empty()) __builtin_trap();
      if (sy == Sy::Eof) {
        if (tok.NextToken() != Sy::Eof) __builtin_trap();
        break;
      }
      for (const TAttribute& a : tok.Attributes()) {
        TColor c;
        ColorFromString(a.Text, c);
        AlignKeyword(a.Text);
        VAlignKeyword(a.Text);
      }
      if (!lineReaders) continue;
      // The parser's own readers: a PRE body line by line, a script body
      // with comments as text.
      if (sy == Sy::Pre) {
        flags.InPre = true;
        std::u16string line;
        while (!r.AtEnd() && r.Ch() != u'<') {
          if (r.Ch() == u'&') {
            tok.ReadReference(line);
          } else {
            line += r.Ch();
            r.Next();
          }
        }
      } else if (sy == Sy::PreEnd) {
        flags.InPre = false;
      } else if (sy == Sy::Script) {
        flags.InScript = true;
        while (!r.AtEnd()) {
          const char16_t c = r.Ch();
          r.Next();
          if (c == u'<' && r.Ch() == u'/') {
            r.PushBack(u'<');
            break;
          }
        }
        flags.InScript = false;
      }
    }
  } catch (const EParseError&) {
    if (!tok.Reader().OpenCommentAtEnd()) __builtin_trap();
  }
  return 0;
}
