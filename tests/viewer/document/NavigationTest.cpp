#include <gtest/gtest.h>

#include "viewer/document/Navigation.h"

namespace quillet {
namespace {

TEST(Navigation, ALinkLoadsByItsExtension) {
  const struct {
    std::string path;
    LinkKind kind;
  } cases[] = {
      {"/a/page.htm", LinkKind::Page},    {"/a/page.HTML", LinkKind::Page},   {"/a/p.Jpeg", LinkKind::Picture},
      {"/a/p.png", LinkKind::Picture},    {"/a/p.shtml", LinkKind::Other},    {"/a.htm/page", LinkKind::Other},
      {"c:page", LinkKind::Other},        {"/a/readme", LinkKind::Other},     {"/a/x.txt", LinkKind::Other},
  };
  for (const auto& c : cases) EXPECT_EQ(LinkKindOf(c.path), c.kind) << c.path;
}

TEST(Navigation, ARefreshNeedsADelayBeforeASemicolonAndAnAddress) {
  const struct {
    std::string httpEquiv, content;
    int delay;  // 0: none
    std::string url;
  } cases[] = {
      {"Refresh", " 5 ; URL=next.htm", 5, "next.htm"},
      {"refresh", "+2;url=Next.htm", 2, "Next.htm"},
      {"refresh", "5 URL=next.htm", 0, ""},
      {"refresh", "0; URL=next.htm", 0, ""},
      {"refresh", "x; URL=next.htm", 0, ""},
      {"refresh", "5; next.htm", 0, ""},
      {"expires", "5; URL=next.htm", 0, ""},
  };
  for (const auto& c : cases) {
    const auto refresh = ReadMetaRefresh(c.httpEquiv, c.content);
    EXPECT_EQ(refresh ? refresh->Delay : 0, c.delay) << c.content;
    EXPECT_EQ(refresh ? refresh->Url : "", c.url) << c.content;
  }
}

}  // namespace
}  // namespace quillet
