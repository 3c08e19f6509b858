// require_comma_locale COMMAND [ARGS...]: runs COMMAND only when the locale
// the environment names (LANG, LC_ALL, LOCPATH) writes numbers with a
// decimal comma, so that a test meant to run as a German user fails when the
// locale is missing instead of passing quietly in the C locale.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: require_comma_locale COMMAND [ARGS...]\n");
    return 2;
  }
  const char* name = std::setlocale(LC_ALL, "");
  const char* point = std::localeconv()->decimal_point;
  if (!name || std::strcmp(point, ",") != 0) {
    std::fprintf(stderr, "require_comma_locale: the locale is %s with decimal point \"%s\", not \",\"\n",
                 name ? name : "not available", point);
    return 1;
  }
  execvp(argv[1], argv + 1);
  std::perror(argv[1]);
  return 127;
}
