#include "cleanup/AddressRules.h"

#include <algorithm>
#include <array>

#include "platform/AsciiCase.h"

namespace quillet {

namespace {

constexpr size_t npos = std::string_view::npos;

struct NamedRule {
  std::string_view Name;
  AddressRuleSet Rules;
};
constexpr std::array<NamedRule, 11> kRuleNames{{{"slash", kRuleSlash},
                                                {"scheme", kRuleScheme},
                                                {"www", kRuleWww},
                                                {"fragment", kRuleFragment},
                                                {"tracking", kRuleTracking},
                                                {"port", kRulePort},
                                                {"host-case", kRuleHostCase},
                                                {"pct", kRulePct},
                                                {"query-order", kRuleQueryOrder},
                                                {"safe", kSafeAddressRules},
                                                {"all", kAllAddressRules}}};

// prefix is in small letters.
bool StartsNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

// "%7e" and "%7E" are "~"; "%2f" is "%2F", which stays encoded: it is not
// the "/" that splits a path.
void NormalisePercent(std::string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const int hi = text[i] == '%' && i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
    const int lo = hi >= 0 ? HexValue(text[i + 2]) : -1;
    if (lo < 0) {
      out += text[i];
      continue;
    }
    const auto byte = static_cast<unsigned char>(hi * 16 + lo);
    if (IsUnreserved(byte)) {
      out += static_cast<char>(byte);
    } else {
      constexpr char kHex[] = "0123456789ABCDEF";
      out += '%';
      out += kHex[hi];
      out += kHex[lo];
    }
    i += 2;
  }
}

bool IsTrackingParam(std::string_view name, const std::vector<std::string>& params) {
  for (const std::string& p : params) {
    if (!p.empty() && p.back() == '*') {
      if (name.starts_with(std::string_view(p).substr(0, p.size() - 1))) return true;
    } else if (name == p) {
      return true;
    }
  }
  return false;
}

// The parts of a web address: scheme ":" ["//" authority] path ["?" query]
// ["#" fragment].
struct WebAddress {
  std::string_view Scheme, User, Host, Port, Path, Query, Fragment;
  bool HasAuthority = false, HasPort = false, HasQuery = false, HasFragment = false;
};

WebAddress SplitWebAddress(std::string_view a) {
  WebAddress w;
  const size_t colon = a.find(':');
  w.Scheme = a.substr(0, colon);
  std::string_view rest = a.substr(colon + 1);
  if (const size_t hash = rest.find('#'); hash != npos) {
    w.HasFragment = true;
    w.Fragment = rest.substr(hash + 1);
    rest = rest.substr(0, hash);
  }
  if (const size_t q = rest.find('?'); q != npos) {
    w.HasQuery = true;
    w.Query = rest.substr(q + 1);
    rest = rest.substr(0, q);
  }
  if (rest.starts_with("//")) {
    w.HasAuthority = true;
    rest.remove_prefix(2);
    const size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    w.Path = slash == npos ? std::string_view() : rest.substr(slash);
    if (const size_t at = authority.rfind('@'); at != npos) {
      w.User = authority.substr(0, at + 1);
      authority.remove_prefix(at + 1);
    }
    // A port follows the host; an IPv6 host is in brackets and holds colons.
    const size_t close = authority.starts_with('[') ? authority.find(']') : 0;
    const size_t portColon = authority.find(':', close == npos ? authority.size() : close);
    w.Host = authority.substr(0, portColon);
    if (portColon != npos) {
      w.HasPort = true;
      w.Port = authority.substr(portColon + 1);
    }
  } else {
    w.Path = rest;
  }
  return w;
}

// The port is the one the scheme implies: written empty, or as its number.
bool IsDefaultPort(std::string_view scheme, std::string_view port) {
  size_t i = 0;
  while (i < port.size() && port[i] == '0') ++i;
  const std::string_view value = port.substr(i);
  if (value.find_first_not_of("0123456789") != npos) return false;
  if (port.empty()) return true;
  return value == (StartsNoCase(scheme, "https") ? "443" : "80");
}

}  // namespace

// The key of a web address, written into key_.
void AddressKeyMaker::WebKey(std::string_view decoded) {
  const AddressRuleSet rules = rules_.Rules;
  std::string_view text = decoded;
  if (rules & kRulePct) {
    NormalisePercent(decoded, text_);
    text = text_;
  }
  const WebAddress w = SplitWebAddress(text);
  std::string& key = key_;
  key.clear();
  key.reserve(text.size() + 1);
  if (rules & kRuleScheme)
    key += "http";
  else if (rules & kRuleHostCase)
    for (char c : w.Scheme) key += LowerAscii(c);
  else
    key += w.Scheme;
  key += ':';
  if (w.HasAuthority) {
    key += "//";
    key += w.User;
    std::string_view host = w.Host;
    if ((rules & kRuleWww) && StartsNoCase(host, "www.") && host.find('.', 4) != npos) host.remove_prefix(4);
    if (rules & kRuleHostCase)
      for (char c : host) key += LowerAscii(c);
    else
      key += host;
    if (w.HasPort && !((rules & kRulePort) && IsDefaultPort(w.Scheme, w.Port))) key.append(":").append(w.Port);
  }
  std::string_view path = w.Path;
  if ((rules & kRuleSlash) && path.ends_with('/')) path.remove_suffix(1);
  key += path;
  if (w.HasQuery) {
    if (rules & (kRuleTracking | kRuleQueryOrder)) {
      std::vector<std::string_view>& params = params_;
      params.clear();
      for (size_t b = 0; b <= w.Query.size();) {
        size_t e = w.Query.find('&', b);
        if (e == npos) e = w.Query.size();
        const std::string_view p = w.Query.substr(b, e - b);
        if (!((rules & kRuleTracking) && IsTrackingParam(p.substr(0, p.find('=')), rules_.TrackingParams)))
          params.push_back(p);
        b = e + 1;
      }
      if (rules & kRuleQueryOrder) std::sort(params.begin(), params.end());
      // A query of tracking parameters alone is no query.
      if (!params.empty()) {
        key += '?';
        for (size_t i = 0; i < params.size(); ++i) key.append(i ? "&" : "").append(params[i]);
      }
    } else {
      key.append("?").append(w.Query);
    }
  }
  if (w.HasFragment && !(rules & kRuleFragment)) key.append("#").append(w.Fragment);
}

std::string_view AddressKeyMaker::Key(std::string_view raw, std::string_view decoded) {
  if (rules_.Rules == 0) return raw;
  if (!IsWebAddress(decoded)) {
    // A web key starts with a letter; the mark keeps any other address apart.
    key_.assign(1, '\0');
    key_.append(raw);
    return key_;
  }
  WebKey(decoded);
  return key_;
}

std::vector<std::string_view> AddressRuleNames(AddressRuleSet rules) {
  std::vector<std::string_view> names;
  for (const NamedRule& n : kRuleNames)
    if ((n.Rules & (n.Rules - 1)) == 0 && (rules & n.Rules)) names.push_back(n.Name);
  return names;
}

std::vector<std::string> SplitNameList(std::string_view list) {
  std::vector<std::string> names;
  for (size_t b = 0; b <= list.size();) {
    size_t e = list.find(',', b);
    if (e == npos) e = list.size();
    std::string_view name = list.substr(b, e - b);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (!name.empty()) names.emplace_back(name);
    b = e + 1;
  }
  return names;
}

std::optional<AddressRuleSet> ParseAddressRules(std::string_view list, std::string& error) {
  AddressRuleSet rules = 0;
  const std::vector<std::string> names = SplitNameList(list);
  for (const std::string& name : names) {
    const auto rule = std::find_if(kRuleNames.begin(), kRuleNames.end(), [&](const NamedRule& n) { return n.Name == name; });
    if (rule == kRuleNames.end()) {
      error = "unknown rule \"" + name +
              "\" (rules: slash, scheme, www, fragment, tracking, port, host-case, pct, query-order, safe, all)";
      return std::nullopt;
    }
    rules |= rule->Rules;
  }
  if (names.empty()) {
    error = "no rule named";
    return std::nullopt;
  }
  return rules;
}

std::vector<std::string> DefaultTrackingParams() {
  return {"utm_*", "fbclid", "gclid", "dclid", "mc_cid", "mc_eid", "igshid", "ref_src"};
}

bool IsWebAddress(std::string_view address) {
  if (address.size() < 5 || LowerAscii(address[0]) != 'h') return false;
  return StartsNoCase(address, "http:") || StartsNoCase(address, "https:");
}

std::string_view AddressHost(std::string_view address) {
  if (!IsWebAddress(address)) return {};
  return SplitWebAddress(address).Host;
}

std::string AddressComparisonKey(std::string_view raw, std::string_view decoded, const AddressRules& rules) {
  AddressKeyMaker maker(rules);
  return std::string(maker.Key(raw, decoded));
}

AddressRuleSet RulesThatMatched(std::string_view a, std::string_view b, const AddressRules& rules) {
  if (a == b) return 0;
  AddressRules fewer = rules;
  AddressRuleSet needed = 0;
  for (AddressRuleSet rule = 1; rule <= kAllAddressRules; rule <<= 1) {
    if (!(rules.Rules & rule)) continue;
    fewer.Rules = rules.Rules & ~rule;
    if (AddressComparisonKey(a, a, fewer) != AddressComparisonKey(b, b, fewer)) needed |= rule;
  }
  if (needed) return needed;
  // Two rules that each would do: name every rule that changed either one.
  for (AddressRuleSet rule = 1; rule <= kAllAddressRules; rule <<= 1) {
    if (!(rules.Rules & rule)) continue;
    fewer.Rules = rule;
    if (AddressComparisonKey(a, a, fewer) != a || AddressComparisonKey(b, b, fewer) != b) needed |= rule;
  }
  return needed;
}

}  // namespace quillet
