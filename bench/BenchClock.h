#pragma once
// The clocks the window benchmarks read: wall time, the process's processor
// time, and its peak memory so far.
#include <sys/resource.h>

#include <chrono>
#include <ctime>

namespace quillet::bench {

inline double CpuMs() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline double WallMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

inline double PeakMiB() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return double(u.ru_maxrss) / 1024.0;
}

}  // namespace quillet::bench
