#pragma once
// The picture readers' test files (tests/viewer/data, made by
// make_pictures.py there) and their references: ImageMagick's RGBA
// decoding, one PAM image per picture or per composed GIF frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Picture.h"

namespace quillet::test {

inline std::string PictureDataPath(const std::string& name) {
  return std::string(QUILLET_SOURCE_DIR) + "/tests/viewer/data/" + name;
}

inline std::vector<uint8_t> ReadPictureBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot open " << path;
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<uint8_t> PictureData(const std::string& name) { return ReadPictureBytes(PictureDataPath(name)); }

// Every image of a PAM file (DEPTH 4, MAXVAL 255) as pictures.
inline std::vector<Picture> ReadPams(const std::string& path) {
  const std::vector<uint8_t> d = ReadPictureBytes(path);
  std::vector<Picture> out;
  size_t at = 0;
  while (at < d.size()) {
    const std::string rest(d.begin() + static_cast<std::ptrdiff_t>(at),
                           d.begin() + static_cast<std::ptrdiff_t>(std::min(d.size(), at + 200)));
    const size_t end = rest.find("ENDHDR\n");
    if (rest.rfind("P7\n", 0) != 0 || end == std::string::npos) {
      ADD_FAILURE() << "not a PAM image at " << at << " of " << path;
      break;
    }
    std::istringstream header(rest.substr(3, end - 3));
    int w = 0, h = 0, depth = 0;
    for (std::string key; header >> key;) {
      if (key == "WIDTH") header >> w;
      else if (key == "HEIGHT") header >> h;
      else if (key == "DEPTH") header >> depth;
      else header.ignore(1000, '\n');
    }
    at += end + 7;
    if (depth != 4 || at + static_cast<size_t>(w) * h * 4 > d.size()) {
      ADD_FAILURE() << "unexpected PAM image in " << path;
      break;
    }
    Picture pic(w, h);
    for (size_t i = 0; i < pic.Pixels.size(); ++i, at += 4)
      pic.Pixels[i] = Argb(d[at + 3], d[at], d[at + 1], d[at + 2]);
    out.push_back(std::move(pic));
  }
  return out;
}

inline std::vector<Picture> References(const std::string& name) { return ReadPams(PictureDataPath(name + ".pam")); }

// Compares a decoded picture with its reference: the same size, the same
// set of fully transparent pixels, and colour and alpha within `tolerance`
// wherever the reference is not fully transparent.
inline ::testing::AssertionResult SamePicture(const Picture& ours, const Picture& ref, int tolerance = 0) {
  if (ours.Width != ref.Width || ours.Height != ref.Height)
    return ::testing::AssertionFailure() << "size " << ours.Width << "x" << ours.Height << ", reference "
                                         << ref.Width << "x" << ref.Height;
  int bad = 0;
  std::ostringstream where;
  for (int y = 0; y < ref.Height; ++y)
    for (int x = 0; x < ref.Width; ++x) {
      const uint32_t a = ours.At(x, y), b = ref.At(x, y);
      bool same = (AlphaOf(a) == 0) == (AlphaOf(b) == 0);
      if (same && AlphaOf(b) != 0) {
        const auto near = [&](uint32_t p, uint32_t q) {
          return std::abs(static_cast<int>(p) - static_cast<int>(q)) <= tolerance;
        };
        same = near(AlphaOf(a), AlphaOf(b)) && near(RedOf(a), RedOf(b)) && near(GreenOf(a), GreenOf(b)) &&
               near(BlueOf(a), BlueOf(b));
      }
      if (!same && bad++ < 5)
        where << " (" << x << "," << y << "): " << std::hex << a << " vs " << b << std::dec << ";";
    }
  if (bad == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << " pixels differ:" << where.str();
}

}  // namespace quillet::test
