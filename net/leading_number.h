#pragma once

// Reading the number at the start of a text, as the program reads every
// number a user types or a peer sends: blanks are ignored wherever they
// stand, reading stops at the first character that cannot continue the
// number, and a text that does not start with a number gives 0. A sign, a
// decimal point and an exponent are understood ("-3", "2.5", "1e3").

#include <QStringView>

namespace vexa::net {

struct LeadingNumberScan {
  // The value; +-infinity when it is too large for a double.
  double value = 0;
  // Where reading stopped: the index of the first character that cannot
  // continue the number (blanks after the number are taken with it).
  qsizetype end = 0;
};

LeadingNumberScan ScanLeadingNumber(QStringView text);

inline double LeadingNumber(QStringView text) {
  return ScanLeadingNumber(text).value;
}

// The leading number rounded to an integer, halves to the even neighbour
// ("2.5" gives 2, "3.5" gives 4). Values beyond int's range are held at its
// ends, so a huge number is an out-of-range index, never an overflow.
int LeadingInteger(QStringView text);

}  // namespace vexa::net
