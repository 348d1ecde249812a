#include "viewer/images/JpegReader.h"

#include <bit>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <new>
#include <vector>

#include <jpeglib.h>

namespace quillet {

namespace {

// Real progressive files have about ten scans; a file with thousands of tiny
// ones would make the library pass over the whole picture for each.
constexpr int kMaxScans = 100;

// libjpeg reports a fatal error by calling error_exit, which must not
// return; we jump back to Decode's setjmp instead of letting it exit().
struct ErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->Jump, 1);
}

void Silent(j_common_ptr) {}

void CountScans(j_common_ptr info) {
  if (!info->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) ErrorExit(info);
}

// Everything Decode touches lives here, outside the frame that calls setjmp,
// so nothing it needs after a longjmp sits in a clobbered local.
struct Job {
  jpeg_decompress_struct Info{};
  ErrorManager Errors{};
  jpeg_progress_mgr Progress{};
  bool Created = false;
  uint64_t Room = Picture::kAnyRoom;
  std::vector<uint8_t> Row;
  Picture Out;
};

uint32_t FromCmyk(const uint8_t* p, bool inverted) {
  // Adobe writes CMYK inverted (0 = full ink); others do not.
  uint32_t c = p[0], m = p[1], y = p[2], k = p[3];
  if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
  return Rgb(c * k / 255, m * k / 255, y * k / 255);
}

// No C++ object with a destructor may be created in this frame after setjmp
// (a longjmp would skip it), and nothing here allocates on the C++ side but
// Job's own members.
bool Decode(Job& job, const uint8_t* data, size_t size) {
  job.Info.err = jpeg_std_error(&job.Errors.Base);
  job.Errors.Base.error_exit = ErrorExit;
  job.Errors.Base.output_message = Silent;
  if (setjmp(job.Errors.Jump)) return false;
  jpeg_create_decompress(&job.Info);
  job.Created = true;
  job.Progress.progress_monitor = CountScans;
  job.Info.progress = &job.Progress;
  jpeg_mem_src(&job.Info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&job.Info, TRUE) != JPEG_HEADER_OK) return false;
  if (!Picture::SizeAllowed(job.Info.image_width, job.Info.image_height, job.Room)) return false;
  // Huffman coding spends at least a bit on every 8 x 8 block of the first
  // scan's component, which may be subsampled 4 x 4: 8192 pixels a byte at
  // the very most. A tiny file cannot make us allocate a huge picture.
  // Arithmetic coding has no such floor; browsers do not show it either.
  if (job.Info.arith_code) return false;
  if (static_cast<uint64_t>(job.Info.image_width) * job.Info.image_height > static_cast<uint64_t>(size) * 8192)
    return false;

  bool cmyk = false;
  switch (job.Info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
      // Bytes B G R A in memory are one 0xAARRGGBB pixel on a little-endian
      // machine; A R G B on a big-endian one.
      job.Info.out_color_space = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      job.Info.out_color_space = JCS_CMYK;
      cmyk = true;
      break;
    default:
      return false;
  }
  jpeg_start_decompress(&job.Info);
  const JDIMENSION w = job.Info.output_width, h = job.Info.output_height;
  if (!Picture::SizeAllowed(w, h, job.Room)) return false;
  job.Out = Picture(static_cast<int>(w), static_cast<int>(h), Rgb(0, 0, 0));
  if (cmyk) job.Row.resize(static_cast<size_t>(w) * 4);
  const bool inverted = job.Info.saw_Adobe_marker;
  while (job.Info.output_scanline < h) {
    const JDIMENSION y = job.Info.output_scanline;
    uint32_t* dst = &job.Out.Pixels[static_cast<size_t>(y) * w];
    JSAMPROW row = cmyk ? job.Row.data() : reinterpret_cast<JSAMPROW>(dst);
    if (jpeg_read_scanlines(&job.Info, &row, 1) != 1) return false;
    if (cmyk)
      for (JDIMENSION x = 0; x < w; ++x) dst[x] = FromCmyk(&job.Row[x * 4], inverted);
  }
  // jpeg_finish_decompress is left out: it would only read on to the end
  // marker, and fail a picture already complete over trailing junk.
  return true;
}

}  // namespace

std::optional<Picture> ReadJpeg(std::span<const uint8_t> data, uint64_t room) {
  if (data.size() < 2) return std::nullopt;
  Job job;
  job.Room = room;
  bool ok = false;
  try {
    ok = Decode(job, data.data(), data.size());
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  if (job.Created) jpeg_destroy_decompress(&job.Info);
  if (!ok) return std::nullopt;
  return std::move(job.Out);
}

}  // namespace quillet
