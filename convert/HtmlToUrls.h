#pragma once
// Writing the document back as a folder tree of shortcut files.
#include "convert/Context.h"

namespace quillet {

// Writes the document into ctx.UrlTargetDir. Unattended (the batch): no
// confirmation, no offer of the error log, no closing message.
void HtmlToUrls(Context& ctx, bool unattended);

}  // namespace quillet
