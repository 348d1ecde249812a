#pragma once
// Bold and italic link descriptions: wrapping each description in an
// emphasis tag pair and taking the pair off again.
#include <optional>

#include "bookmarks/Context.h"

namespace quillet {

// Tag letters: 'B' for bold, 'I' for italic.
inline constexpr char BoldLetter = 'B';
inline constexpr char ItalicLetter = 'I';

// Wraps the description of every link line that does not yet hold the
// opening tag anywhere. Headings, list lines, links with an empty
// description and lines without "</A>" stay as they are. Returns how many
// lines changed.
size_t ApplyEffect(Context& ctx, char letter);

// Removes the first opening tag and then the first closing tag of the letter
// from every line that holds the opening tag: one pair per line. Returns how
// many lines changed.
size_t RemoveEffect(Context& ctx, char letter);

// The window's bold or italic command: checked is the command's check mark.
// On an empty document nothing happens and nothing is returned. Otherwise
// the emphasis is taken off when checked and put on when not, the mark is
// toggled, and the number of lines changed is returned: the view must be
// refreshed and the document marked as modified.
std::optional<size_t> ToggleEffect(Context& ctx, char letter, bool& checked);

}  // namespace quillet
