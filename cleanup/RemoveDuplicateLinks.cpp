#include "cleanup/RemoveDuplicateLinks.h"

namespace quillet {

void RemoveDuplicateLinks(Context&) {}  // placeholder until built

}  // namespace quillet
