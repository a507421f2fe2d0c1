#pragma once

#include <string>

namespace vexa {

// A number as the program shows it in its readouts and lists: a blank where
// a minus sign would stand, then the digits (48 -> " 48", -3 -> "-3").
inline std::string NumberText(long long n) {
  return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}

}  // namespace vexa
