#include "cleanup/AddressRules.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

std::string Key(std::string_view address, AddressRuleSet rules, std::vector<std::string> params = DefaultTrackingParams()) {
  return AddressComparisonKey(address, address, AddressRules{rules, std::move(params)});
}

struct Pair {
  AddressRuleSet Rule;
  const char* A;
  const char* B;
};

// Each pair is one page by its rule alone, and by no mix of the others.
const Pair kJoined[] = {
    {kRuleSlash, "http://a.org/x/", "http://a.org/x"},
    {kRuleSlash, "https://a.org/", "https://a.org"},
    {kRuleScheme, "http://a.org/x", "https://a.org/x"},
    {kRuleWww, "http://www.a.org/x", "http://a.org/x"},
    {kRuleFragment, "http://a.org/x#top", "http://a.org/x"},
    {kRuleFragment, "http://a.org/?q=1#", "http://a.org/?q=1"},
    {kRuleTracking, "http://a.org/x?id=1&utm_source=m&fbclid=z", "http://a.org/x?id=1"},
    {kRuleTracking, "http://a.org/x?gclid=1&utm_medium=2", "http://a.org/x"},
    {kRulePort, "http://a.org:80/x", "http://a.org/x"},
    {kRulePort, "https://a.org:0443/", "https://a.org/"},
    {kRuleHostCase, "HTTP://A.Org/x", "http://a.org/x"},
    {kRulePct, "http://a.org/%7Euser", "http://a.org/~user"},
    {kRulePct, "http://a.org/a%2fb", "http://a.org/a%2Fb"},
    {kRuleQueryOrder, "http://a.org/?a=1&b=2", "http://a.org/?b=2&a=1"},
};

TEST(AddressRules, EachRuleJoinsItsOwnPairsAloneAndNamesItself) {
  for (const Pair& p : kJoined) {
    SCOPED_TRACE(std::string(p.A) + " / " + p.B);
    EXPECT_NE(Key(p.A, 0), Key(p.B, 0));
    EXPECT_EQ(Key(p.A, p.Rule), Key(p.B, p.Rule));
    EXPECT_NE(Key(p.A, kAllAddressRules & ~p.Rule), Key(p.B, kAllAddressRules & ~p.Rule));
    EXPECT_EQ(Key(p.A, kAllAddressRules), Key(p.B, kAllAddressRules));
    EXPECT_EQ(RulesThatMatched(p.A, p.B, AddressRules{kAllAddressRules}), p.Rule);
  }
  // Two rules at once are both named.
  EXPECT_EQ(RulesThatMatched("http://www.a.org/x/", "https://a.org/x", AddressRules{kAllAddressRules}),
            kRuleSlash | kRuleScheme | kRuleWww);
  EXPECT_EQ(RulesThatMatched("http://a.org/", "http://a.org/", AddressRules{kAllAddressRules}), 0);
}

TEST(AddressRules, DifferentPagesStayApartUnderEveryRule) {
  const std::pair<const char*, const char*> apart[] = {
      {"http://a.org/x", "http://a.org/y"},         {"http://a.org/x", "http://a.org/X"},
      {"http://a.org/?a=1", "http://a.org/?a=2"},   {"http://a.org/?a=1", "http://a.org/?a=1&a=1"},
      {"http://a.org/", "http://b.org/"},           {"http://www.a.org/", "http://ww.a.org/"},
      {"http://www.com/", "http://com/"},           {"http://a.org/a%2Fb", "http://a.org/a/b"},
      {"http://a.org:8080/", "http://a.org/"},      {"http://a.org:443/", "http://a.org/"},
      {"http://a.org/?ref=x", "http://a.org/"},     {"http://u@a.org/", "http://a.org/"},
      {"http://a.org/x//", "http://a.org/x"},       {"place:a/", "place:a"},
      {"javascript:x()", "JAVASCRIPT:x()"},         {"ftp://a.org/", "ftp://a.org"},
      {"http://[::1]:80/", "http://[::2]/"},
  };
  for (const auto& [a, b] : apart) EXPECT_NE(Key(a, kAllAddressRules), Key(b, kAllAddressRules)) << a << " / " << b;
  // No rule joins an address that is not a web one to anything but itself.
  EXPECT_EQ(Key("place:a", kAllAddressRules), Key("place:a", kAllAddressRules));
  EXPECT_NE(Key("place:a", kAllAddressRules), Key("place:a", 0));
  EXPECT_EQ(Key("http://[::1]:80/", kAllAddressRules), Key("http://[::1]/", kAllAddressRules));
}

TEST(AddressRules, TrackingParametersCanBeReplaced) {
  EXPECT_EQ(Key("http://a.org/?ref=x&id=2", kRuleTracking, {"ref"}), Key("http://a.org/?id=2", kRuleTracking, {"ref"}));
  EXPECT_NE(Key("http://a.org/?utm_x=1", kRuleTracking, {"ref"}), Key("http://a.org/", kRuleTracking, {"ref"}));
  EXPECT_EQ(Key("http://a.org/?s_1=1", kRuleTracking, {"s_*"}), Key("http://a.org/", kRuleTracking, {"s_*"}));
}

TEST(AddressRules, RuleListsAreReadByName) {
  std::string error;
  EXPECT_EQ(ParseAddressRules("slash, www", error), kRuleSlash | kRuleWww);
  EXPECT_EQ(ParseAddressRules("safe", error), kRuleHostCase | kRulePort | kRulePct);
  EXPECT_EQ(ParseAddressRules("all", error), kAllAddressRules);
  EXPECT_EQ(ParseAddressRules("slash,Slash", error), std::nullopt);
  EXPECT_NE(error.find("\"Slash\""), std::string::npos);
  EXPECT_EQ(ParseAddressRules(" , ", error), std::nullopt);
  EXPECT_EQ(AddressRuleNames(kRuleWww | kRuleSlash), (std::vector<std::string_view>{"slash", "www"}));
}

}  // namespace
}  // namespace quillet
