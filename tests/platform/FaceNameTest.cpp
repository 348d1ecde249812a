#include "platform/FaceName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

// Names of the same text share one string however they were made, names of
// other texts stay apart, and sweeping the pool while thousands of names
// come and go never disturbs a name still held.
TEST(FaceNameTest, EqualNamesShareAndLiveNamesSurviveSweeps) {
  const FaceName kept(u"Arial");
  std::vector<FaceName> held;
  for (int i = 0; i < 5000; ++i) {
    const std::u16string text = u"Face " + std::u16string(1, char16_t(u'A' + i % 26)) + char16_t(u'0' + i / 26 % 10) +
                                char16_t(u'a' + i / 260);
    const FaceName a(text), b(std::u16string_view(text).substr(0));
    ASSERT_EQ(a.data(), b.data()) << i;
    ASSERT_TRUE(a == b);
    ASSERT_FALSE(a == kept);
    if (i % 100 == 0) held.push_back(a);
  }
  EXPECT_EQ(kept.str(), u"Arial");
  EXPECT_EQ(FaceName(u"Arial").data(), kept.data());
  EXPECT_EQ(FaceName().str(), u"Times New Roman");
  for (const FaceName& name : held) EXPECT_EQ(FaceName(name.str()).data(), name.data());
}

}  // namespace
}  // namespace quillet
