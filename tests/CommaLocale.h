// TCommaLocale: for one test, switches the C library of this process to a
// German locale, whose decimal separator is "," (as a Qt application does for
// a German user), and back afterwards. Number text must not notice.
//
//   ZP_ENTER_COMMA_LOCALE();   // skips the test when no such locale exists,
//                              // fails instead under ZP_REQUIRE_COMMA_LOCALE=1
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

namespace zp::locale_test {

class TCommaLocale {
 public:
  TCommaLocale() {
    const char* old = std::setlocale(LC_ALL, nullptr);
    saved_ = old ? old : "C";
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
      if (std::setlocale(LC_ALL, name)) break;
    active_ = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
  }
  ~TCommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
  TCommaLocale(const TCommaLocale&) = delete;
  TCommaLocale& operator=(const TCommaLocale&) = delete;

  // The decimal separator of the C library is now ",".
  bool Active() const { return active_; }

 private:
  std::string saved_;
  bool active_ = false;
};

// True when a missing comma locale must fail the test (ctest sets it, and
// LOCPATH to the locale it builds).
inline bool CommaLocaleRequired() {
  const char* v = std::getenv("ZP_REQUIRE_COMMA_LOCALE");
  return v && std::strcmp(v, "1") == 0;
}

}  // namespace zp::locale_test

#define ZP_ENTER_COMMA_LOCALE()                                                                             \
  ::zp::locale_test::TCommaLocale zp_comma_locale_;                                                         \
  if (!zp_comma_locale_.Active()) {                                                                         \
    if (::zp::locale_test::CommaLocaleRequired()) FAIL() << "the de_DE.UTF-8 locale could not be selected"; \
    GTEST_SKIP() << "no de_DE.UTF-8 locale on this machine";                                                \
  }
