#pragma once
// Rules that make two web addresses count as one page when they differ only
// in ways a user chooses to ignore (a trailing slash, http and https, a
// leading "www.", ...). Each rule is opt-in: loose matching would remove
// pages that differ. The comparison key a rule set makes is used to compare
// and nothing else; it is never written anywhere, since a rewritten address
// can stop working.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

enum AddressRule : uint16_t {
  kRuleSlash = 1 << 0,       // a trailing "/" of the path
  kRuleScheme = 1 << 1,      // http and https
  kRuleWww = 1 << 2,         // a leading "www." of the host
  kRuleFragment = 1 << 3,    // "#..."
  kRuleTracking = 1 << 4,    // tracking parameters of the query
  kRulePort = 1 << 5,        // the scheme's default port written out
  kRuleHostCase = 1 << 6,    // letter case of the scheme and host
  kRulePct = 1 << 7,         // percent-encoding of unreserved characters, hex case
  kRuleQueryOrder = 1 << 8,  // query parameters in any order
};
using AddressRuleSet = uint16_t;
inline constexpr AddressRuleSet kAllAddressRules = (1 << 9) - 1;
inline constexpr AddressRuleSet kSafeAddressRules = kRuleHostCase | kRulePort | kRulePct;

// The names of the rules a set holds, in the order of the list above.
std::vector<std::string_view> AddressRuleNames(AddressRuleSet rules);

// The names of a comma-separated list, blanks around each dropped, empty
// ones left out.
std::vector<std::string> SplitNameList(std::string_view list);

// Reads "slash,www" (the names above, "safe", "all"). Nothing, with a
// message in error, for a name it does not know or an empty list.
std::optional<AddressRuleSet> ParseAddressRules(std::string_view list, std::string& error);

// Parameters the tracking rule drops; a trailing "*" matches any ending.
std::vector<std::string> DefaultTrackingParams();

struct AddressRules {
  AddressRuleSet Rules = 0;
  std::vector<std::string> TrackingParams = DefaultTrackingParams();
};

// The address starts with "http:" or "https:", in any letter case.
bool IsWebAddress(std::string_view address);

// The host of a web address (port and user dropped), as written; "" for
// anything else.
std::string_view AddressHost(std::string_view address);

// The text addresses are compared by. raw is the address as written in the
// document, decoded the same with character references decoded. Without
// rules it is raw itself. With rules, a web address gives its decoded form
// with the rules applied; any other address gives raw again, marked so that
// it equals only itself: rules never join a "place:" or "javascript:" link to
// anything but its exact copy.
std::string AddressComparisonKey(std::string_view raw, std::string_view decoded, const AddressRules& rules);

// Makes comparison keys one after another, reusing its buffers: the same
// keys as AddressComparisonKey, each a view valid until the next call.
class AddressKeyMaker {
 public:
  explicit AddressKeyMaker(AddressRules rules) : rules_(std::move(rules)) {}
  std::string_view Key(std::string_view raw, std::string_view decoded);

 private:
  AddressRules rules_;
  std::string key_, text_;
  std::vector<std::string_view> params_;
  void WebKey(std::string_view decoded);
};

// The rules of the set without which the two addresses (decoded, already
// known to match) would not match; none when they are the same text.
AddressRuleSet RulesThatMatched(std::string_view a, std::string_view b, const AddressRules& rules);

}  // namespace quillet
