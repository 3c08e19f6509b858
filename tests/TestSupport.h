// Helpers every test program shares: files in the test's temporary folder,
// reading a file whole, and checking an exception's type and exact message.
//
//   EXPECT_THROW_MSG(bits.SetBitText("12"), zp::Exception, "Invalid Bit String Input");
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace zp::test {

// A path in GoogleTest's temporary folder; Name should be unique to the test file.
inline std::string TempFile(const std::string& Name) { return ::testing::TempDir() + Name; }

// The whole file as bytes; "" when it cannot be read.
inline std::string ReadFile(const std::string& Name) {
  std::ifstream file(Name, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Replaces the file with Text, bytes as given.
inline void WriteFile(const std::string& Name, const std::string& Text) {
  std::ofstream(Name, std::ios::binary | std::ios::trunc) << Text;
}

}  // namespace zp::test

// Expects Statement to throw Type (or a class derived from it) whose what() is exactly Message.
#define EXPECT_THROW_MSG(Statement, Type, Message)                                          \
  do {                                                                                      \
    try {                                                                                   \
      Statement;                                                                            \
      ADD_FAILURE() << "Expected " #Statement " to throw " #Type;                           \
    } catch (const Type& zp_test_error_) {                                                  \
      EXPECT_EQ(std::string(zp_test_error_.what()), std::string(Message)) << #Statement;    \
    } catch (...) {                                                                         \
      ADD_FAILURE() << "Expected " #Statement " to throw " #Type ", it threw another type"; \
    }                                                                                       \
  } while (false)
