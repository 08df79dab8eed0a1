#include "numbers.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace roomkit {

double leadingNumber(std::string_view text) {
  // Collect the characters of the number, skipping white space anywhere.
  std::string number;
  bool digits = false, point = false, exponent = false, exponentDigits = false;
  bool signAllowed = true;
  for (char ch : text) {
    if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r') continue;
    if ((ch == '+' || ch == '-') && signAllowed) {
      number += ch;
      signAllowed = false;
    } else if (ch >= '0' && ch <= '9') {
      number += ch;
      (exponent ? exponentDigits : digits) = true;
      signAllowed = false;
    } else if (ch == '.' && !point && !exponent) {
      number += ch;
      point = true;
      signAllowed = false;
    } else if ((ch == 'e' || ch == 'E' || ch == 'd' || ch == 'D') && digits && !exponent) {
      number += 'e';
      exponent = true;
      signAllowed = true;
    } else {
      break;
    }
  }
  if (!digits) return 0.0;
  if (exponent && !exponentDigits) {
    while (!number.empty() &&
           (number.back() == 'e' || number.back() == '+' || number.back() == '-')) {
      number.pop_back();
    }
  }
  const double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

double roundHalfEven(double number) { return std::nearbyint(number); }

}  // namespace roomkit
