#pragma once
#include "bookmarks/Context.h"

namespace quillet {

// Removes the browser's date attributes, from " ADD_DATE=\"" to the end of
// the tag, from every line of the document. Returns how many attributes went.
size_t StripNetscapeTags(Context& ctx);

}  // namespace quillet
