#pragma once
// A change of a document's lines, as the runs of lines it replaced and what
// it put in their place: small for a small edit, whatever the document's
// size. It turns one copy of the lines into another (the window's document
// after the tree was edited), and backwards, for undo.
#include <cstddef>
#include <vector>

#include "bookmarks/Context.h"

namespace quillet {

struct TextHunk {
  size_t OldFirst = 0;  // where the replaced lines stood in the old text
  TextLines OldLines;
  size_t NewFirst = 0;  // where their replacement stands in the new text
  TextLines NewLines;
  bool operator==(const TextHunk&) const = default;
};

struct TextPatch {
  // In line order, none touching another.
  std::vector<TextHunk> Hunks;
  bool Empty() const { return Hunks.empty(); }
};

// Turns the old text into the new. Throws std::invalid_argument, leaving the
// lines as they were, when they do not hold the old lines where the patch
// says.
void ApplyPatch(TextLines& lines, const TextPatch& patch);

// The patch that turns the new text back into the old.
TextPatch InvertPatch(TextPatch patch);

// Lines of the old text that went whole into the new one, one run of
// consecutive lines at a time, in the order of the new text.
struct MovedRun {
  size_t OldFirst = 0;
  size_t NewFirst = 0;
  size_t Count = 0;
};

// The patch between two texts, given the runs of old lines that were moved
// into the new text (their places in old are left empty by the move) and
// knowing that every other line of new was written anew. The runs that keep
// their order, as many lines as possible, stay out of the patch.
TextPatch PatchFromMoves(const TextLines& old, const TextLines& now, const std::vector<MovedRun>& runs);

}  // namespace quillet
