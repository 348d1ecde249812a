// The browsers' stores as `quillet convert` reads and writes them, without
// the program around them:
//   stores_bench chromium IN OUT   read a Chromium file, write it back to OUT
//   stores_bench places FILE       read a places.sqlite (through its copy)
// Prints the links read on stderr, so a run that read nothing shows.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "stores/ChromiumBookmarks.h"
#include "stores/FirefoxPlaces.h"

using namespace quillet;

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "chromium" && argc == 4) {
    std::ifstream in(argv[2], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const StoreRead read = ReadChromiumBookmarks(text);
    const ChromiumWrite w = WriteChromiumBookmarks(read.Root, read.Kept.get());
    std::ofstream(argv[3], std::ios::binary) << w.Json;
    std::cerr << w.Written.Links << " links\n";
    return 0;
  }
  if (mode == "places" && argc == 3) {
    std::cerr << CountOutline(ReadFirefoxPlaces(argv[2]).Root).Links << " links\n";
    return 0;
  }
  std::cerr << "usage: stores_bench chromium IN OUT | places FILE\n";
  return 2;
}
