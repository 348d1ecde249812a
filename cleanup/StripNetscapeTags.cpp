#include "cleanup/StripNetscapeTags.h"

namespace quillet {

void StripNetscapeTags(Context&) {}  // placeholder until built

}  // namespace quillet
