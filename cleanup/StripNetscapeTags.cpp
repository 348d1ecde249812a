#include "cleanup/StripNetscapeTags.h"

#include "bookmarks/BookmarkFormat.h"

namespace quillet {

size_t StripNetscapeTags(Context& ctx) {
  size_t stripped = 0;
  for (std::string& line : ctx.HtmlLines) stripped += StripDateAttributes(line);
  return stripped;
}

}  // namespace quillet
