#pragma once
#include "convert/Context.h"

namespace quillet {

// Deletes every link whose address already occurred in an earlier line,
// together with the description line that follows it. Returns how many links
// went.
size_t RemoveDuplicateLinks(Context& ctx);

}  // namespace quillet
