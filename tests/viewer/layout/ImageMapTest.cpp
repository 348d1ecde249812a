#include "viewer/layout/ImageMap.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace quillet {
namespace {

TAttributeList Tag(std::initializer_list<std::pair<Sy, std::u16string>> attributes) {
  TAttributeList list;
  for (const auto& [code, text] : attributes) list.Add({code, 0, text});
  return list;
}

std::u16string UrlAt(const TMapItem& map, int x, int y) {
  const auto hit = map.Hit(x, y);
  return hit ? hit->Url : u"(none)";
}

TEST(TMapItem, CircleAndRectangleEdges) {
  TMapItem circle, rectangle;
  circle.AddArea(Tag({{Sy::Shape, u"CIRCLE"}, {Sy::Coords, u"10,10,5"}, {Sy::Href, u"c.htm"}}));
  rectangle.AddArea(Tag({{Sy::Href, u"r.htm"}, {Sy::Coords, u"0,0,9,9"}}));  // no SHAPE: a rectangle
  EXPECT_EQ(UrlAt(circle, 10, 10), u"c.htm");
  EXPECT_EQ(UrlAt(circle, 15, 10), u"c.htm");   // the last column of the circle's box
  EXPECT_EQ(UrlAt(circle, 10, 5), u"c.htm");    // its first row
  EXPECT_EQ(UrlAt(circle, 15, 15), u"(none)");  // the box's corner is outside the circle
  EXPECT_EQ(UrlAt(circle, 16, 10), u"(none)");
  EXPECT_EQ(UrlAt(circle, 17, 10), u"(none)");
  EXPECT_EQ(UrlAt(rectangle, 9, 9), u"r.htm");
  EXPECT_EQ(UrlAt(rectangle, 0, 0), u"r.htm");
  EXPECT_EQ(UrlAt(rectangle, 10, 9), u"(none)");
  EXPECT_EQ(UrlAt(rectangle, 9, 10), u"(none)");
  EXPECT_EQ(UrlAt(rectangle, -1, 0), u"(none)");
}

TEST(TMapItem, TooFewNumbersLeaveTheAreaOut) {
  TMapItem map;
  map.AddArea(Tag({{Sy::Href, u"a"}, {Sy::Coords, u"1,2,3"}}));
  map.AddArea(Tag({{Sy::Href, u"a"}, {Sy::Shape, u"circ"}, {Sy::Coords, u"1,2"}}));
  map.AddArea(Tag({{Sy::Href, u"a"}, {Sy::Shape, u"poly"}, {Sy::Coords, u"0,0,5,0,5"}}));
  map.AddArea(Tag({{Sy::Href, u"a"}}));
  map.AddArea(Tag({{Sy::Href, u"a"}, {Sy::Coords, u"1,2,3,"}}));  // a trailing comma adds no number
  EXPECT_TRUE(map.Areas.empty());
}

TEST(TMapItem, TheFirstAreaInOrderWinsEvenWithoutALink) {
  TMapItem map;
  map.AddArea(Tag({{Sy::Href, u"hidden.htm"}, {Sy::NoHref, u""}, {Sy::Coords, u"0,0,9,9"}}));
  map.AddArea(Tag({{Sy::Href, u"big.htm"}, {Sy::Target, u"main"}, {Sy::Coords, u"0,0,99,99"}}));
  EXPECT_FALSE(map.Hit(5, 5).has_value());
  const auto hit = map.Hit(50, 5);
  ASSERT_TRUE(hit.has_value());
  EXPECT_EQ(*hit, TUrlTarget(u"big.htm", u"main"));
}

TEST(TMapItem, AttributesAreReadInTagOrder) {
  TMapItem map;
  // NOHREF then HREF: the later HREF gives the link back. The shape counts
  // by its first four letters, in any case.
  map.AddArea(Tag({{Sy::NoHref, u""}, {Sy::Href, u"back.htm"}, {Sy::Shape, u"PolyGon"},
                   {Sy::Coords, u"0,0,10,0,0,10"}}), u"base");
  map.AddArea(Tag({{Sy::Shape, u"circus"}, {Sy::Coords, u"50,50,3"}, {Sy::Href, u"c"}}));
  map.AddArea(Tag({{Sy::Shape, u"default"}, {Sy::Coords, u"0,0,199,199"}, {Sy::Href, u"rest"}}));
  ASSERT_EQ(map.Areas.size(), 3u);
  EXPECT_EQ(map.Areas[0].Region.Shape(), MapRegion::Kind::Polygon);
  EXPECT_EQ(map.Areas[1].Region.Shape(), MapRegion::Kind::Ellipse);
  EXPECT_EQ(map.Areas[2].Region.Shape(), MapRegion::Kind::Rectangle);
  EXPECT_EQ(*map.Hit(1, 1), TUrlTarget(u"back.htm", u"base"));  // no TARGET: the default
  EXPECT_EQ(UrlAt(map, 50, 52), u"c");
}

TEST(TMapItem, CornersGivenTheOtherWayRoundMeanTheSameRectangle) {
  TMapItem map;
  map.AddArea(Tag({{Sy::Href, u"r"}, {Sy::Coords, u"9,9,0,0"}}));
  map.AddArea(Tag({{Sy::Href, u"c"}, {Sy::Shape, u"circle"}, {Sy::Coords, u"50,50,-4"}}));
  EXPECT_EQ(UrlAt(map, 0, 0), u"r");
  EXPECT_EQ(UrlAt(map, 9, 9), u"r");
  EXPECT_EQ(UrlAt(map, 10, 9), u"(none)");
  EXPECT_EQ(UrlAt(map, 50, 50), u"(none)");  // a negative radius holds nothing
}

TEST(ParseCoords, PiecesBetweenCommas) {
  EXPECT_EQ(ParseCoords(u" 1,2 , -3,+4"), (std::vector<int>{1, 2, -3, 4}));
  EXPECT_EQ(ParseCoords(u"1.5,x,,7px, 12 "), (std::vector<int>{0, 0, 0, 0, 12}));  // no number: 0
  EXPECT_EQ(ParseCoords(u"000000000000000000012"), (std::vector<int>{1}));  // cut to 20 characters
  EXPECT_TRUE(ParseCoords(u"").empty());
  // Huge numbers stop at the coordinate range instead of overflowing.
  EXPECT_EQ(ParseCoords(u"99999999999999999999,-99999999999999999999"),
            (std::vector<int>{MapRegion::kMaxCoordinate, -MapRegion::kMaxCoordinate}));
  std::u16string many;
  for (int i = 0; i < 300; ++i) many += u"1,";
  EXPECT_EQ(ParseCoords(many).size(), 201u);
}

TEST(MapRegion, WindingPolygonHoldsTheCentreOfEveryPixelItEncloses) {
  // A square 0..10 drawn twice round: winding 2, still inside.
  const MapRegion twice = MapRegion::Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10},
                                              {0, 0}, {10, 0}, {10, 10}, {0, 10}});
  EXPECT_TRUE(twice.Contains(0, 0));
  EXPECT_TRUE(twice.Contains(9, 9));
  EXPECT_FALSE(twice.Contains(10, 5));
  EXPECT_FALSE(twice.Contains(5, 10));
  // A five-pointed star: the middle pentagon is wound twice, so the winding
  // rule keeps it (an even-odd fill would leave a hole).
  const MapRegion star = MapRegion::Polygon({{50, 0}, {79, 90}, {2, 35}, {97, 35}, {21, 90}});
  EXPECT_TRUE(star.Contains(50, 50));
  EXPECT_TRUE(star.Contains(50, 10));   // in the top point
  EXPECT_FALSE(star.Contains(50, 85));  // between the two lower points
  EXPECT_FALSE(star.Contains(5, 80));
  // A triangle (0,0) (10,0) (0,10): pixels count by their centres.
  const MapRegion tri = MapRegion::Polygon({{0, 0}, {10, 0}, {0, 10}});
  EXPECT_TRUE(tri.Contains(0, 0));
  EXPECT_TRUE(tri.Contains(8, 0));
  EXPECT_FALSE(tri.Contains(9, 9));
  EXPECT_FALSE(tri.Contains(5, 5));   // centre (5.5, 5.5) is beyond x + y = 10
  EXPECT_TRUE(tri.Contains(4, 4));    // centre (4.5, 4.5) is inside
}

TEST(MapRegion, ExtremeCoordinatesAreClampedNotOverflowed) {
  const MapRegion huge = MapRegion::Ellipse({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
  EXPECT_TRUE(huge.Contains(0, 0));
  EXPECT_TRUE(huge.Contains(1000000, -1000000));
  const MapRegion poly = MapRegion::Polygon({{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {0, INT_MAX}});
  EXPECT_TRUE(poly.Contains(0, 0));
  EXPECT_FALSE(MapRegion::Polygon({{0, 0}, {5, 5}, {10, 10}}).Contains(5, 5));  // flat
}

}  // namespace
}  // namespace quillet
