#include "viewer/style/UrlTarget.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

// A run's packed link gives back exactly what it was given: narrow and
// wide text, a lone surrogate, a target without an address.
TEST(RunLink, GivesBackTheLinkItWasGiven) {
  const TUrlTarget links[] = {
      {u"", u""},
      {u"http://a.example/", u""},
      {u"u.htm", u"_top"},
      {u"", u"frame"},
      {u"caf\u00e9.htm#\u00ff", u"\u00e9"},
      {u"http://\u0416.example/", u"_top"},
      {u"a", u"\u4e2d"},
      {std::u16string(1, char16_t(0xD800)) + u"x", u""},
      {std::u16string(3, u'\0'), std::u16string(1, u'\0')},
      {std::u16string(70000, u'a'), u"t"},
  };
  for (const TUrlTarget& link : links) {
    const RunLink packed(link);
    EXPECT_EQ(packed.Get(), link);
    EXPECT_EQ(packed.IsLink(), link.IsLink());
    RunLink copy;
    copy = packed;
    EXPECT_EQ(copy.Get(), link);
    RunLink moved(std::move(copy));
    EXPECT_TRUE(moved == link);
    moved = TUrlTarget();
    EXPECT_FALSE(moved.IsLink());
    EXPECT_EQ(moved.Get(), TUrlTarget());
  }
}

}  // namespace
}  // namespace quillet
