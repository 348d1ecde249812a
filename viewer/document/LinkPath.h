#pragma once
// Turning a link of the HTML pane into a local path.
#include <string>
#include <string_view>

namespace quillet {

// What a relative link is resolved against.
struct LinkBase {
  // The folder links starting with the path delimiter are under; empty: the
  // file system's root.
  std::string ServerRoot;
  // The document's base address; "DosPath" (any case) leaves relative links
  // as they are.
  std::string BaseUrl;
  // The file the document was loaded from; its folder resolves relative
  // links when there is no base address.
  std::string CurrentFile;
};

// Replaces "%XX" escapes, from the first "%" on, until one that stands first,
// has fewer than two characters after it, no hexadecimal digits, or is "%00".
std::string DecodePercentEscapes(std::string_view text);

// A link as a path: escapes decoded; when it holds a "/", a "file:" prefix
// dropped and "|" read as the drive colon ("file:///C|/Docs/a.htm" ->
// "C:/Docs/a.htm", "file:///home/ann/a.htm" -> "/home/ann/a.htm"); a
// Windows "\" becomes the path delimiter. Letter case is kept: Linux names
// depend on it.
std::string LinkToPath(std::string_view link);

// The full local path a link stands for: blanks trimmed, converted as above,
// then made absolute: a path from the root under ServerRoot, a relative one
// against the base. Drive paths ("C:...") are returned as converted.
std::string ExpandLinkPath(std::string_view link, const LinkBase& base);

}  // namespace quillet
