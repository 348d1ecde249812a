#include "cleanup/SortLinks.h"

namespace quillet {

void SortLinks(Context&) {}  // placeholder until built

}  // namespace quillet
