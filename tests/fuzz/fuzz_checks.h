#pragma once
// What the fuzz targets share: a broken promise aborts, which libFuzzer
// reports as a crash with the input that caused it.
#include <cstdlib>

namespace trellan::fuzz {

inline void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace trellan::fuzz
