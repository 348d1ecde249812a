#include "cleanup/NaturalOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/IcuCollation.h"

namespace quillet {
namespace {

// The texts ordered by their keys, starting from a shuffled copy.
std::vector<std::string> Sorted(std::vector<std::string> texts, const TextOrder& order, const std::string& locale = "") {
  IcuCollation collation(locale);
  std::shuffle(texts.begin(), texts.end(), std::mt19937(36));
  std::vector<std::pair<std::string, std::string>> keyed;
  for (const std::string& t : texts) keyed.emplace_back(TextSortKey(collation, t, order), t);
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> out;
  for (auto& [key, text] : keyed) out.push_back(text);
  return out;
}

TEST(NaturalOrder, NumbersCompareByValueWhateverTheirLength) {
  const std::string huge(300, '9');
  const std::vector<std::string> ordered = {
      "",
      "0",
      "00",
      "1",
      "01",
      "2",
      "9",
      "10",
      "18446744073709551615",  // 2^64 - 1
      "18446744073709551616",
      "100000000000000000000000",
      std::string(236, '9'),
      "1" + std::string(237, '0'),
      huge,
      "1" + huge,
      "a",
      "a2",
      "a02",
      "a10",
      "a10b",
      "b1",
      "Chapter 2",
      "chapter 10",
      "Chapter 11",
      "\xc3\xa9" "1",  // é1: the number decides before the accent
      "e2",
  };
  EXPECT_EQ(Sorted(ordered, TextOrder{}), ordered);
}

TEST(NaturalOrder, OptionsAndLocales) {
  EXPECT_EQ(Sorted({"a2", "a10", "b1"}, TextOrder{false, false}), (std::vector<std::string>{"a10", "a2", "b1"}));
  EXPECT_EQ(Sorted({"apple", "Apple", "Banana", "apple2"}, TextOrder{true, true}),
            (std::vector<std::string>{"Apple", "apple", "apple2", "Banana"}));
  // Letter case alone never decides unless asked: equal keys.
  IcuCollation root("");
  EXPECT_EQ(TextSortKey(root, "Page 7", TextOrder{}), TextSortKey(root, "PAGE 7", TextOrder{}));
  // German sorts Ä with A, Swedish after Z.
  const std::vector<std::string> words = {"\xc3\x84pfel 2", "Apfel 10", "Zebra"};
  EXPECT_EQ(Sorted(words, TextOrder{}, "de_DE.UTF-8"),
            (std::vector<std::string>{"\xc3\x84pfel 2", "Apfel 10", "Zebra"}));
  EXPECT_EQ(Sorted(words, TextOrder{}, "sv_SE"), (std::vector<std::string>{"Apfel 10", "Zebra", "\xc3\x84pfel 2"}));
}

}  // namespace
}  // namespace quillet
