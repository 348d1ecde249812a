#include "viewer/images/PngReader.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

#include <png.h>

namespace quillet {

namespace {

// Everything Decode touches lives here, outside the frame that calls setjmp,
// so nothing it needs after a longjmp sits in a clobbered local.
struct Job {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  size_t Pos = 0;
  uint64_t Room = Picture::kAnyRoom;
  std::vector<png_bytep> Rows;
  Picture Out;
};

void ReadBytes(png_structp png, png_bytep into, size_t count) {
  Job* job = static_cast<Job*>(png_get_io_ptr(png));
  if (count > job->Size - job->Pos) png_error(png, "cut short");
  std::memcpy(into, job->Data + job->Pos, count);
  job->Pos += count;
}

// libpng would print to stderr; the pane never reports bad pictures.
[[noreturn]] void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Ignore(png_structp, png_const_charp) {}

uint32_t Be32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

// Every chunk up to IEND must lie inside the data (libpng would allocate
// what a chunk's length says before finding the file too short), and the
// IDAT chunks must be large enough for the rows IHDR announces: deflate
// packs at most about 1032 bytes into one, so a tiny file cannot make us
// allocate a huge picture only to fail in its first row.
bool ChunksFitTheData(const uint8_t* d, size_t size) {
  if (size < 33 || std::memcmp(d + 12, "IHDR", 4) != 0) return false;
  const uint64_t w = Be32(d + 16), h = Be32(d + 20);
  const uint64_t depth = d[24];
  const int type = d[25];
  const uint64_t channels = type == 2 ? 3 : type == 4 ? 2 : type == 6 ? 4 : 1;
  if (!Picture::SizeAllowed(static_cast<int64_t>(w), static_cast<int64_t>(h))) return false;
  uint64_t idat = 0;
  for (size_t at = 8; size - at >= 12;) {
    const uint64_t length = Be32(d + at);
    if (length > size - at - 12) return false;
    if (std::memcmp(d + at + 4, "IDAT", 4) == 0) idat += length;
    if (std::memcmp(d + at + 4, "IEND", 4) == 0) break;
    at += 12 + static_cast<size_t>(length);
  }
  return idat * 1100 + 1024 >= (w * h * channels * depth + 7) / 8;
}

// No C++ object with a destructor may be created in this frame after setjmp
// (a longjmp would skip it); the row table and picture are Job's.
bool Decode(Job& job) {
  if (setjmp(png_jmpbuf(job.Png))) return false;
  png_set_read_fn(job.Png, &job, ReadBytes);
  png_set_user_limits(job.Png, Picture::kMaxSide, Picture::kMaxSide);
  png_set_chunk_malloc_max(job.Png, 8 * 1024 * 1024);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // Mutated files rarely keep their checksums: let the fuzzer past them.
  png_set_crc_action(job.Png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
  png_set_option(job.Png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
  // Only the image and its transparency matter here: every other chunk is
  // stepped over unread (no text to inflate, no colour profile to parse).
  static const png_byte kSkipped[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0"
                                     "sBIT\0sCAL\0sPLT\0sRGB\0tEXt\0tIME\0zTXt";
  png_set_keep_unknown_chunks(job.Png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(job.Png, PNG_HANDLE_CHUNK_NEVER, kSkipped, 17);
  png_read_info(job.Png, job.Info);

  png_uint_32 w = 0, h = 0;
  int depth = 0, type = 0, interlace = 0;
  png_get_IHDR(job.Png, job.Info, &w, &h, &depth, &type, &interlace, nullptr, nullptr);
  if (!Picture::SizeAllowed(w, h, job.Room)) return false;

  if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(job.Png);
  if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(job.Png);
  const bool trns = png_get_valid(job.Png, job.Info, PNG_INFO_tRNS) != 0;
  if (trns) png_set_tRNS_to_alpha(job.Png);
  if (depth == 16) png_set_scale_16(job.Png);
  if (!(type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(job.Png);
  if (std::endian::native == std::endian::little) {
    // Bytes B G R A are one 0xAARRGGBB pixel.
    png_set_bgr(job.Png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !trns) png_set_filler(job.Png, 0xFF, PNG_FILLER_AFTER);
  } else {
    if (!(type & PNG_COLOR_MASK_ALPHA) && !trns) png_set_filler(job.Png, 0xFF, PNG_FILLER_BEFORE);
    else png_set_swap_alpha(job.Png);
  }
  png_set_interlace_handling(job.Png);
  png_read_update_info(job.Png, job.Info);
  if (png_get_rowbytes(job.Png, job.Info) != static_cast<size_t>(w) * 4) return false;

  job.Out = Picture(static_cast<int>(w), static_cast<int>(h));
  job.Rows.resize(h);
  for (png_uint_32 y = 0; y < h; ++y)
    job.Rows[y] = reinterpret_cast<png_bytep>(&job.Out.Pixels[static_cast<size_t>(y) * w]);
  png_read_image(job.Png, job.Rows.data());
  // png_read_end is left out: chunks after the image cannot change it, and a
  // damaged one there should not throw the picture away.
  return true;
}

}  // namespace

std::optional<Picture> ReadPng(std::span<const uint8_t> data, uint64_t room) {
  if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) return std::nullopt;
  if (!ChunksFitTheData(data.data(), data.size())) return std::nullopt;
  Job job;
  job.Data = data.data();
  job.Size = data.size();
  job.Room = room;
  job.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Ignore);
  if (!job.Png) return std::nullopt;
  job.Info = png_create_info_struct(job.Png);
  bool ok = false;
  if (job.Info) {
    try {
      ok = Decode(job);
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  png_destroy_read_struct(&job.Png, job.Info ? &job.Info : nullptr, nullptr);
  if (!ok) return std::nullopt;
  return std::move(job.Out);
}

}  // namespace quillet
