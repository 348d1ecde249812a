// Our GIF decoder on arbitrary bytes: the scan and the whole read, every
// frame composed in turn, a copy, and the animation run on a clock of our
// own. The scan must count the frames the read keeps.
#include <cstddef>
#include <cstdint>
#include <span>

#include "viewer/images/Gif.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  TGIFImage scan;
  const bool scanned = scan.Load(bytes, true);
  // The limits allow screens of 256 MiB, which the unit tests cover; here
  // they would only slow the search down.
  if (scanned && static_cast<int64_t>(scan.Width()) * scan.Height() > 4 * 1024 * 1024) return 0;
  TGIFImage gif;
  if (!gif.Load(bytes)) return 0;
  if (!scanned || scan.FrameCount() < gif.FrameCount() || scan.Width() < gif.Width()) __builtin_trap();
  const Picture& pic = gif.Composed();
  if (pic.Width != gif.Width() || pic.Height != gif.Height() || !Picture::SizeAllowed(pic.Width, pic.Height))
    __builtin_trap();

  // Composing touches the screen once a frame: keep a run's work bounded.
  const int64_t work = static_cast<int64_t>(pic.Width) * pic.Height * gif.FrameCount();
  if (work > 16 * 1024 * 1024) return 0;
  for (int n = 2; n <= gif.FrameCount(); ++n) gif.SetCurrentFrame(n);
  gif.SetCurrentFrame(0);
  const auto copy = gif.Copy();
  if (copy->Composed().Pixels.size() != pic.Pixels.size()) __builtin_trap();
  copy->RecordDraw(0, 0, pic.Width, pic.Height);
  copy->SetAnimate(true, 0);
  for (int64_t now = 0; now < 40 * 50; now += 50) copy->CheckTime(now);
  return 0;
}
