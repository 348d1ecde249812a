#include "check/Url.h"

#include <vector>

namespace quillet {

namespace {

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerText(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// The length of the scheme before its ":", or 0.
size_t SchemeLength(std::string_view s) {
  if (s.empty() || !IsAlpha(s[0])) return 0;
  for (size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == ':') return i;
    if (!IsAlpha(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') return 0;
  }
  return 0;
}

// The path with "." and ".." segments taken out.
std::string RemoveDotSegments(std::string_view in) {
  std::vector<std::string_view> out;
  const bool absolute = !in.empty() && in[0] == '/';
  size_t i = absolute ? 1 : 0;
  bool trailing = false;
  while (i <= in.size()) {
    size_t end = in.find('/', i);
    if (end == std::string_view::npos) end = in.size();
    const std::string_view seg = in.substr(i, end - i);
    const bool last = end == in.size();
    if (seg == ".") {
      trailing = last;
    } else if (seg == "..") {
      if (!out.empty()) out.pop_back();
      trailing = last;
    } else {
      out.push_back(seg);
      trailing = false;
    }
    i = end + 1;
  }
  std::string path = absolute ? "/" : "";
  for (size_t k = 0; k < out.size(); ++k) {
    if (k) path += '/';
    path += out[k];
  }
  if (trailing && !path.empty() && path.back() != '/') path += '/';
  return path;
}

std::string Merge(const UrlParts& base, const std::string& refPath) {
  if (base.HasAuthority && base.Path.empty()) return "/" + refPath;
  const size_t slash = base.Path.rfind('/');
  return slash == std::string::npos ? refPath : base.Path.substr(0, slash + 1) + refPath;
}

}  // namespace

std::string UrlScheme(std::string_view text) {
  text = Trimmed(text);
  return LowerText(text.substr(0, SchemeLength(text)));
}

std::optional<UrlParts> ParseUrl(std::string_view text) {
  std::string_view s = Trimmed(text);
  UrlParts u;
  if (const size_t n = SchemeLength(s)) {
    u.Scheme = LowerText(s.substr(0, n));
    s.remove_prefix(n + 1);
  }
  if (const size_t hash = s.find('#'); hash != std::string_view::npos) {
    u.Fragment = std::string(s.substr(hash + 1));
    s = s.substr(0, hash);
  }
  if (const size_t q = s.find('?'); q != std::string_view::npos) {
    u.Query = std::string(s.substr(q + 1));
    s = s.substr(0, q);
  }
  if (s.substr(0, 2) == "//") {
    u.HasAuthority = true;
    s.remove_prefix(2);
    const size_t end = s.find('/');
    std::string_view auth = s.substr(0, end);
    s = end == std::string_view::npos ? std::string_view() : s.substr(end);
    if (const size_t at = auth.rfind('@'); at != std::string_view::npos) {
      u.UserInfo = std::string(auth.substr(0, at));
      auth.remove_prefix(at + 1);
    }
    std::string_view host = auth, port;
    if (!auth.empty() && auth[0] == '[') {
      const size_t close = auth.find(']');
      if (close == std::string_view::npos) return std::nullopt;
      host = auth.substr(0, close + 1);
      const std::string_view rest = auth.substr(close + 1);
      if (!rest.empty()) {
        if (rest[0] != ':') return std::nullopt;
        port = rest.substr(1);
      }
    } else if (const size_t colon = auth.rfind(':'); colon != std::string_view::npos) {
      host = auth.substr(0, colon);
      port = auth.substr(colon + 1);
    }
    for (char c : port)
      if (!IsDigit(c)) return std::nullopt;
    u.Host = LowerText(host);
    u.Port = std::string(port);
  }
  u.Path = std::string(s);
  return u;
}

std::string UrlString(const UrlParts& u) {
  std::string out;
  if (!u.Scheme.empty()) out += u.Scheme + ":";
  if (u.HasAuthority) {
    out += "//";
    if (!u.UserInfo.empty()) out += u.UserInfo + "@";
    out += u.Host;
    if (!u.Port.empty()) out += ":" + u.Port;
  }
  out += u.Path;
  if (u.Query) out += "?" + *u.Query;
  if (u.Fragment) out += "#" + *u.Fragment;
  return out;
}

std::optional<std::string> ResolveUrl(std::string_view baseText, std::string_view refText) {
  const auto base = ParseUrl(baseText);
  const auto ref = ParseUrl(refText);
  if (!base || !ref || base->Scheme.empty()) return std::nullopt;
  UrlParts t;
  if (!ref->Scheme.empty()) {
    t = *ref;
    t.Path = RemoveDotSegments(ref->Path);
  } else {
    t.Scheme = base->Scheme;
    if (ref->HasAuthority) {
      t.HasAuthority = true;
      t.UserInfo = ref->UserInfo;
      t.Host = ref->Host;
      t.Port = ref->Port;
      t.Path = RemoveDotSegments(ref->Path);
      t.Query = ref->Query;
    } else {
      t.HasAuthority = base->HasAuthority;
      t.UserInfo = base->UserInfo;
      t.Host = base->Host;
      t.Port = base->Port;
      if (ref->Path.empty()) {
        t.Path = base->Path;
        t.Query = ref->Query ? ref->Query : base->Query;
      } else {
        t.Path = RemoveDotSegments(ref->Path[0] == '/' ? ref->Path : Merge(*base, ref->Path));
        t.Query = ref->Query;
      }
    }
    t.Fragment = ref->Fragment;
  }
  if (!t.Fragment) t.Fragment = base->Fragment;
  return UrlString(t);
}

std::string WithoutUserInfo(std::string_view text) {
  auto u = ParseUrl(text);
  if (!u || u->UserInfo.empty()) return std::string(Trimmed(text));
  u->UserInfo.clear();
  return UrlString(*u);
}

bool IsSiteRoot(std::string_view text) {
  const auto u = ParseUrl(text);
  return u && u->HasAuthority && (u->Path.empty() || u->Path == "/") && !u->Query;
}

}  // namespace quillet
