// CPU time, in seconds: of the whole process (every thread) or of the
// calling thread. Time limits and rates that should not depend on what else
// the machine runs are counted in it.
#pragma once

#include <time.h>

namespace pexil {

inline double cpuSeconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double processCpuSeconds() { return cpuSeconds(CLOCK_PROCESS_CPUTIME_ID); }
inline double threadCpuSeconds() { return cpuSeconds(CLOCK_THREAD_CPUTIME_ID); }

}  // namespace pexil
