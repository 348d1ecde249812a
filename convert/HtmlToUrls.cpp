#include "convert/HtmlToUrls.h"

namespace quillet {

void HtmlToUrls(Context&, bool) {}  // placeholder until built

}  // namespace quillet
