#pragma once
// The text of a range of cursor positions, as copying a selection gives it:
// each text section's characters in the range on a line of their own
// (table cells included, in the order of their positions), pictures and
// form controls left out, the spaces ending a line dropped.
#include <string>

namespace quillet {

class TCell;

std::u16string DocumentText(const TCell& cell, int from, int to);

}  // namespace quillet
