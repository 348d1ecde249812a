#include "cleanup/StripNetscapeTags.h"

#include "convert/BookmarkFormat.h"

namespace quillet {

void StripNetscapeTags(Context& ctx) {
  for (std::string& line : ctx.HtmlLines) StripDateAttributes(line);
}

}  // namespace quillet
