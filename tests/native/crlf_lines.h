#pragma once
// Splitting generated text into its lines for the native tests.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace trellan::test {

// Splits at CR LF; every line, the last one included, must end with it, and
// no line may hold a bare CR or LF.
inline std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "text does not end with CR LF";
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  for (const auto& line : lines) {
    EXPECT_THAT(line, ::testing::Not(::testing::HasSubstr("\n"))) << "bare LF";
    EXPECT_THAT(line, ::testing::Not(::testing::HasSubstr("\r"))) << "bare CR";
  }
  return lines;
}

}  // namespace trellan::test
