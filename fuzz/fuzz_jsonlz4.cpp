// Firefox's backups, compressed or not: any bytes are read or refused with
// StoreError, never read past their end.
#include <cstddef>
#include <cstdint>
#include <string>

#include "stores/FirefoxBackup.h"
#include "stores/StoreError.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Half the inputs get the header, so the LZ4 block itself is tried.
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (size > 0 && data[0] & 1) bytes = std::string("mozLz40\0", 8) + bytes.substr(1);
  try {
    ReadFirefoxBackup(bytes);
  } catch (const StoreError&) {
  }
  return 0;
}
