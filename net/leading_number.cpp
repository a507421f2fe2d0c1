#include "net/leading_number.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace vexa::net {
namespace {

bool IsBlank(QChar c) {
  return c == u' ' || c == u'\t' || c == u'\n';
}
bool IsDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

// Adds a digit to a decimal exponent without overflowing.
std::int64_t AddDigit(std::int64_t n, int digit) {
  constexpr std::int64_t kCap = std::int64_t{1} << 40;
  return n >= kCap ? kCap : n * 10 + digit;
}

}  // namespace

LeadingNumberScan ScanLeadingNumber(QStringView text) {
  const qsizetype n = text.size();
  qsizetype i = 0;
  auto skip_blanks = [&](qsizetype at) {
    while (at < n && IsBlank(text[at]))
      ++at;
    return at;
  };

  std::string number;  // the accepted characters without blanks, for from_chars
  bool negative = false;
  i = skip_blanks(i);
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    if (negative) number += '-';
    i = skip_blanks(i + 1);
  }

  // The decimal magnitude of the mantissa (the position of its first
  // non-zero digit relative to the decimal point), to tell an overflow from
  // an underflow when from_chars reports either.
  std::int64_t magnitude = 0;
  bool any_digit = false;
  bool nonzero_seen = false;
  bool point_seen = false;
  for (; i < n; i = skip_blanks(i + 1)) {
    const QChar c = text[i];
    if (IsDigit(c)) {
      any_digit = true;
      if (c != u'0') nonzero_seen = true;
      if (!point_seen && nonzero_seen) ++magnitude;
      if (point_seen && !nonzero_seen) --magnitude;
      number += static_cast<char>(c.unicode());
    } else if (c == u'.' && !point_seen) {
      point_seen = true;
      number += '.';
    } else {
      break;
    }
  }

  // An exponent counts only when it has digits: in "5EndG" the number is 5.
  std::int64_t exponent = 0;
  if (any_digit && i < n && (text[i] == u'e' || text[i] == u'E')) {
    qsizetype j = skip_blanks(i + 1);
    bool exponent_negative = false;
    if (j < n && (text[j] == u'+' || text[j] == u'-')) {
      exponent_negative = text[j] == u'-';
      j = skip_blanks(j + 1);
    }
    if (j < n && IsDigit(text[j])) {
      for (; j < n && IsDigit(text[j]); j = skip_blanks(j + 1)) {
        exponent = AddDigit(exponent, text[j].unicode() - u'0');
      }
      if (exponent_negative) exponent = -exponent;
      i = j;
    }
  }

  LeadingNumberScan scan;
  scan.end = i;
  if (!any_digit || !nonzero_seen) return scan;  // no number, or zero

  number += 'e';
  number += std::to_string(exponent);
  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    const bool too_large = magnitude + exponent > 0;
    value = too_large ? std::numeric_limits<double>::infinity() : 0.0;
    if (negative) value = -value;
  }
  scan.value = value;
  return scan;
}

int LeadingInteger(QStringView text) {
  const double rounded = std::nearbyint(LeadingNumber(text));
  if (rounded >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (rounded <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(rounded);
}

}  // namespace vexa::net
