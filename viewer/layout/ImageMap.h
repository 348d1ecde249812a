#pragma once
// Client-side image maps: a MAP element's areas, each a region of the image
// with a link (or NOHREF, no link), and the link a point of the image hits.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/layout/MapRegion.h"
#include "viewer/style/UrlTarget.h"
#include "viewer/text/Attributes.h"

namespace quillet {

struct TMapArea {
  // Empty for a NOHREF area, which hides the areas below it and links nowhere.
  std::u16string Url;
  std::u16string Target;
  MapRegion Region;
};

// The numbers of a COORDS value: pieces between commas, each cut to 20
// characters and its trailing spaces removed, read as whole numbers (0 when a
// piece is no number); at most 201 of them. Numbers beyond the map's
// coordinate range are clamped to it.
std::vector<int> ParseCoords(std::u16string_view coords);

class TMapItem {
 public:
  static constexpr size_t kMaxCoords = 201;

  TMapItem() = default;
  explicit TMapItem(std::u16string mapName) : MapName(std::move(mapName)) {}

  // The MAP's NAME as the parser stores it.
  std::u16string MapName;
  // The usable areas in document order.
  std::vector<TMapArea> Areas;

  // Adds the area an AREA tag's attributes describe, read in tag order:
  // HREF sets the link, NOHREF clears it, TARGET names the frame (else
  // defaultTarget), SHAPE's first four letters choose "circ" (circle x, y,
  // r), "poly" (polygon of at least three points) or else a rectangle (x1,
  // y1, x2, y2, both corners inside). An area with too few numbers is left
  // out.
  void AddArea(const TAttributeList& attributes, std::u16string_view defaultTarget = {});

  // The link at (x, y) of the image: the first area holding the point
  // decides; a NOHREF area, or no area, gives none.
  std::optional<TUrlTarget> Hit(int x, int y) const;
};

}  // namespace quillet
