#pragma once
// Mixed-direction text: a section is one paragraph of Unicode's
// bidirectional algorithm, always with a left-to-right base (the page reads
// left to right); each laid-out line is cut into runs of one direction in
// the order they appear on screen. Text is kept in reading order
// throughout: only drawing and the hit tests go by the runs.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace quillet {

// A stretch of a line in one direction: buffer positions [Start, Start + Ln).
struct BidiRun {
  int Start = 0;
  int Ln = 0;
  bool Rtl = false;
  bool operator==(const BidiRun&) const = default;
};

// The first code unit that may run right to left; text below it never does.
inline constexpr char16_t kFirstRtlUnit = 0x0590;

// Whether text holds anything that may run right to left (Hebrew, Arabic
// and the other right-to-left scripts, or the marks and embeddings that
// turn text around). Text without any is one left-to-right run per line.
bool MayHoldRtl(std::u16string_view text);

class BidiParagraph {
 public:
  BidiParagraph();
  ~BidiParagraph();
  BidiParagraph(const BidiParagraph&) = delete;
  BidiParagraph& operator=(const BidiParagraph&) = delete;

  // Resolves the directions of text, which must outlive the calls below.
  // Pictures and controls (their placeholder characters) count as neutral
  // objects, and line separators as blanks: a section is one paragraph.
  // False when the text needs no runs (nothing in it runs right to left)
  // or could not be resolved; lines then read left to right.
  bool Set(std::u16string_view text);
  // Whether the text set has anything right to left.
  bool Ready() const { return ready_; }
  // The runs of the line [start, end) in screen order, left to right;
  // empty when the whole line runs left to right.
  std::vector<BidiRun> LineRuns(int start, int end);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  bool ready_ = false;
};

}  // namespace quillet
