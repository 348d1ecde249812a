#include <gtest/gtest.h>

#include "viewer/text/Words.h"

namespace quillet {
namespace {

TEST(Words, AWordRunsOverLettersDigitsAndMarksOnly) {
  const struct {
    std::u16string text;
    size_t at;
    std::u16string word;
  } cases[] = {
      {u"one two-3", 5, u"two"},
      {u"one two-3", 3, u""},                       // a blank makes none
      {u"x \u00E9t\u00E9\u00D7y", 3, u"\u00E9t\u00E9"},  // the multiplication sign ends it
      {u"e\u0301l\u00E8ve.", 0, u"e\u0301l\u00E8ve"},     // a combining accent stays
      {u"\u65E5\u672C \u0627\u0644", 4, u"\u0627\u0644"},
      {u"a\U0001D400b c", 0, u"a\U0001D400b"},      // a letter beyond the BMP, both halves
      {u"a\U0001F600b", 1, u""},                    // an emoji is no letter
  };
  for (const auto& c : cases) {
    const auto [b, e] = WordAround(c.text, c.at);
    EXPECT_EQ(c.text.substr(b, e - b), c.word) << c.at;
  }
}

}  // namespace
}  // namespace quillet
