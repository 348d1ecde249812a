#include "platform/HeapHint.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define QUILLET_OWN_MALLOC 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLET_OWN_MALLOC 0
#endif
#endif
#ifndef QUILLET_OWN_MALLOC
#define QUILLET_OWN_MALLOC 1
#endif

namespace quillet {

#if defined(__GLIBC__) && QUILLET_OWN_MALLOC && defined(MADV_HUGEPAGE)

namespace {

constexpr size_t kHuge = 2 * 1024 * 1024;
constexpr size_t kMaxMmapThreshold = 32 * 1024 * 1024;  // the most glibc takes on 64 bits
constexpr int kDefault = 128 * 1024;  // glibc's documented default of each setting below

}  // namespace

HeapGrowthHint::HeapGrowthHint(size_t bytes) {
  if (bytes < 4 * kHuge) return;  // too little to be worth it
  bytes = std::min<size_t>(bytes, size_t(1) << 29);  // twice that still fits the int mallopt takes
  // The heap's top must stay when blocks are freed, and blocks up to tens of
  // megabytes come from it rather than from mappings of their own.
  if (mallopt(M_TRIM_THRESHOLD, static_cast<int>(bytes * 2)) != 1) return;
  active_ = true;
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(std::min<size_t>(bytes, kMaxMmapThreshold)));
  // One block makes the heap grow by the whole amount at once; only its
  // first page and the page after it are touched, so the rest can still be
  // faulted in as huge pages.
  mallopt(M_TOP_PAD, static_cast<int>(bytes));
  char* block = static_cast<char*>(std::malloc(kHuge));
  mallopt(M_TOP_PAD, kDefault);
  if (!block) return;
  char* end = static_cast<char*>(sbrk(0));
  // Only when the block came from the heap's top, which it grew.
  if (end > block && static_cast<size_t>(end - block) <= bytes + 2 * kHuge) {
    const auto lo = (reinterpret_cast<uintptr_t>(block) + 2 * kHuge - 1) & ~(uintptr_t(kHuge) - 1);
    const auto hi = reinterpret_cast<uintptr_t>(end) & ~(uintptr_t(kHuge) - 1);
    if (hi > lo && madvise(reinterpret_cast<void*>(lo), hi - lo, MADV_HUGEPAGE) == 0) advised_ = hi - lo;
  }
  std::free(block);
}

HeapGrowthHint::~HeapGrowthHint() {
  if (!active_) return;
  mallopt(M_MMAP_THRESHOLD, kDefault);
  mallopt(M_TRIM_THRESHOLD, kDefault);
}

#else

HeapGrowthHint::HeapGrowthHint(size_t) {}
HeapGrowthHint::~HeapGrowthHint() = default;

#endif

}  // namespace quillet
