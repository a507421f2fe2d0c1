#pragma once

// A list of distinct cells in the order they were added, laid out in slots:
// the entries fill slots 0..n-1 and slot n holds 0. Cell 0 is never an entry
// (it is not playable), so a list is empty exactly when slot 0 holds 0, and
// the highest slot index is the entry count; callers may use either test.

#include <array>
#include <cassert>
#include <cstdint>

#include "core/board.h"

namespace vexa {

class CellList {
 public:
  // Distinct cells other than 0: at most 120.
  static constexpr int kCapacity = kCellCount - 1;

  using value_type = std::int16_t;
  using const_iterator = const std::int16_t*;

  int Count() const { return count_; }
  bool Empty() const { return slots_[0] == 0; }
  // Slots 0..Count(); the last of them holds 0.
  std::int16_t operator[](int slot) const {
    assert(slot >= 0 && slot <= count_);
    return slots_[slot];
  }
  std::int16_t First() const { return slots_[0]; }

  // The entries only, without the terminating slot.
  const_iterator begin() const { return slots_.data(); }
  const_iterator end() const { return slots_.data() + count_; }

  bool Contains(int cell) const {
    return cell > 0 && cell < kCellCount && (members_[cell / 64] >> (cell % 64) & 1) != 0;
  }

  // Appends the cell unless it is already listed; the test is a bit lookup,
  // not a search, because the reach enumeration adds hundreds of times per
  // call and the computer player calls it once per look-ahead candidate.
  void Add(int cell) {
    assert(cell > 0 && cell < kCellCount);
    if (Contains(cell)) return;
    members_[cell / 64] |= std::uint64_t{1} << (cell % 64);
    slots_[count_] = static_cast<std::int16_t>(cell);
    slots_[++count_] = 0;
  }

  // Takes out the first entry; the others keep their order.
  void RemoveFirst() {
    assert(count_ > 0);
    const int cell = slots_[0];
    members_[cell / 64] &= ~(std::uint64_t{1} << (cell % 64));
    for (int slot = 0; slot < count_; ++slot)
      slots_[slot] = slots_[slot + 1];
    --count_;
  }

  void Clear() {
    slots_[0] = 0;
    count_ = 0;
    members_ = {};
  }

  friend bool operator==(const CellList& a, const CellList& b) {
    if (a.count_ != b.count_) return false;
    for (int slot = 0; slot < a.count_; ++slot) {
      if (a.slots_[slot] != b.slots_[slot]) return false;
    }
    return true;
  }

 private:
  // Slots past count_ hold stale values and are never read.
  std::array<std::int16_t, kCapacity + 1> slots_{};
  std::int16_t count_ = 0;
  std::array<std::uint64_t, 2> members_{};
};

}  // namespace vexa
