#pragma once
// The text of an Internet Shortcut file beyond plain ASCII: files saved with
// a byte order mark or in UTF-16, and the [InternetShortcut.W] section that
// holds the address with its Unicode characters, in UTF-7.
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// The address a shortcut file's bytes hold, or nullopt for none: a UTF-8 or
// UTF-16 byte order mark is honoured (the text read as UTF-8); without one
// the bytes are taken as they are. A readable [InternetShortcut.W] URL wins
// over the [InternetShortcut] one.
std::optional<std::string> ShortcutUrlOfText(std::string_view bytes);

// What a shortcut file stores for an address: the address the browsers
// would send (IDNA for the host, the rest percent-encoded as UTF-8) and, for
// an address with characters outside ASCII, the original in UTF-7 for the
// [InternetShortcut.W] section. An address's bytes are UTF-8 when valid,
// else Windows-1252.
struct ShortcutUrls {
  std::string Ascii;
  std::optional<std::string> Wide;
};
ShortcutUrls ShortcutUrlsFor(std::string_view address);

// UTF-7 to UTF-8 and back (ICU's converter); nullopt for malformed UTF-7.
std::optional<std::string> Utf7ToUtf8(std::string_view utf7);
std::string Utf8ToUtf7(std::string_view utf8);

}  // namespace quillet
