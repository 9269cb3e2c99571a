// A decimal-comma C locale for the tests of locale independence, as a GUI host sets one with
// setlocale before it loads the library.
#ifndef QUORVEX_TESTS_SUPPORT_DECIMAL_COMMA_H
#define QUORVEX_TESTS_SUPPORT_DECIMAL_COMMA_H

#include <clocale>
#include <string>

namespace quorvex::test {

// Switches the C library to a decimal-comma locale and gives its name; empty, with the "C"
// locale in force, when the machine has none (Debian: apt-get install locales-all).
inline std::string useDecimalCommaLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252", "de-DE"}) {
    if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',') return name;
  }
  std::setlocale(LC_ALL, "C");
  return "";
}

constexpr const char* kNoDecimalCommaLocale =
    "no decimal-comma locale on this machine (Debian: apt-get install locales-all)";

// Sets the locale for its lifetime, then "C" again.
struct DecimalCommaLocale {
  DecimalCommaLocale() : name(useDecimalCommaLocale()) {}
  ~DecimalCommaLocale() { std::setlocale(LC_ALL, "C"); }
  DecimalCommaLocale(const DecimalCommaLocale&) = delete;
  DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;
  const std::string name;
};

}  // namespace quorvex::test

#endif
