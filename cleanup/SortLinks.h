#pragma once
#include "convert/Context.h"

namespace quillet {

// Sorts each run of link lines by description, dropping blank lines.
void SortLinks(Context& ctx);

}  // namespace quillet
