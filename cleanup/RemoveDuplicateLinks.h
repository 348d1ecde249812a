#pragma once
#include "convert/Context.h"

namespace quillet {

// Deletes every link whose address already occurred in an earlier line.
void RemoveDuplicateLinks(Context& ctx);

}  // namespace quillet
