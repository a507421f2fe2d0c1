#pragma once

// A windowless shell that keeps what the tools need to see of a game: the
// placements in the order they were painted, and the result text.

#include <string>
#include <vector>

#include "silent_shell.h"

namespace vexa::tools {

struct Placement {
  int cell = 0;
  bool blocker = false;
};

class PlacementShell : public SilentShell {
 public:
  std::vector<Placement> placements;
  std::string result;

  void PaintCell(int cell, Color color) override {
    // The rules paint a cell exactly when something is placed on it (or when
    // the board is cleared, in black).
    if (color == kWhite) placements.push_back({cell, true});
    if (color == kBlue) placements.push_back({cell, false});
  }
  void SetResultText(const std::string& text) override { result = text; }
};

}  // namespace vexa::tools
