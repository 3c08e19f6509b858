// Every input the fuzzer once found troublesome, and the seed documents,
// replayed through the loaders in the ordinary test run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzLoaders.h"

TEST(GADocumentFuzzRegressions, EverySavedInputLoadsWithoutFault) {
  const std::filesystem::path dir = ZP_FUZZ_REGRESSIONS;
  ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream file(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().filename().string());
    EXPECT_NO_THROW(zp::fuzz::LoadGADocuments(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    ++count;
  }
  EXPECT_GT(count, 0);
}
