#pragma once
// Web addresses as the link check needs them: the scheme and host of an
// address, a redirect's Location resolved against the address it came from,
// and whether an address is a site's bare root. Text stays as written
// (percent escapes and all); only the scheme and host are lower-cased.
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

struct UrlParts {
  std::string Scheme;  // lower-cased, without the ":"; empty for a relative reference
  bool HasAuthority = false;
  std::string UserInfo;  // before "@", without it
  std::string Host;      // lower-cased; an IPv6 literal keeps its brackets
  std::string Port;      // the digits as written, or empty
  std::string Path;
  std::optional<std::string> Query;     // after "?", without it
  std::optional<std::string> Fragment;  // after "#", without it
};

// Splits an absolute address or a relative reference (blanks around it
// ignored). Nothing for text with a malformed authority (a port that is no
// number, an unclosed "[").
std::optional<UrlParts> ParseUrl(std::string_view text);

// The parts written back as one address.
std::string UrlString(const UrlParts& parts);

// The scheme of an address, lower-cased; empty when it has none.
std::string UrlScheme(std::string_view text);

// ref resolved against the absolute address base, dot segments removed. A
// reference without a fragment keeps base's, as browsers do on a redirect.
// Nothing when base is not absolute or either does not parse.
std::optional<std::string> ResolveUrl(std::string_view base, std::string_view ref);

// The address without its user name and password.
std::string WithoutUserInfo(std::string_view text);

// The address is the bare root of its site ("https://host/", no query).
bool IsSiteRoot(std::string_view text);

}  // namespace quillet
