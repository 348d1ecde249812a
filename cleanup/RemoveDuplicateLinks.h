#pragma once
#include "bookmarks/Context.h"

namespace quillet {

// Deletes every link whose address already occurred in an earlier line,
// together with the description that follows it, all of its lines. Returns how many links
// went.
size_t RemoveDuplicateLinks(Context& ctx);

}  // namespace quillet
