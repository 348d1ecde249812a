#pragma once
// A hint that the heap is about to grow by a known, large amount (an outline
// of a hundred thousand nodes, say). Fresh heap memory is faulted in a page
// at a time; on a virtual machine each fault costs microseconds, and for tens
// of megabytes of small allocations the faults cost more than the work. While
// the hint lives, the heap keeps room for that much at its top, advised to
// the kernel as transparent huge pages, so the allocations that follow fault
// in two megabytes at a time. Nothing changes but speed: where the allocator
// or the kernel does not play along, the hint does nothing.
#include <cstddef>

namespace quillet {

class HeapGrowthHint {
 public:
  explicit HeapGrowthHint(size_t bytes);
  ~HeapGrowthHint();
  HeapGrowthHint(const HeapGrowthHint&) = delete;
  HeapGrowthHint& operator=(const HeapGrowthHint&) = delete;

  // The bytes advised (0 when the hint could do nothing), for tests.
  size_t Advised() const { return advised_; }

 private:
  size_t advised_ = 0;
  bool active_ = false;
};

}  // namespace quillet
