#pragma once

// The choices of the option panel that the rules and the computer player
// read: the mode, the computer's strength, and which controls a mode enables.

namespace vexa {

// The index of the selected mode button.
enum class GameMode { VsCpu = 0, VsHuman = 1, VsOnline = 2 };

// The index of the selected strength button. Master searches; the other
// four are fixed rules of thumb.
enum class CpuStrength { Easy = 0, Normal = 1, Hard = 2, VeryHard = 3, Master = 4 };

// The strength's caption: "Easy" ... "Master".
constexpr const char* StrengthName(CpuStrength strength) {
  constexpr const char* kNames[] = {"Easy", "Normal", "Hard", "VeryHard", "Master"};
  return kNames[static_cast<int>(strength)];
}

// Which controls of the option panel SetOptionControls enables: those of a
// mode, or of a game in progress.
enum class PanelCode { VsCpu = 0, VsHuman = 1, VsOnline = 2, GameRunning = 3 };

constexpr PanelCode PanelCodeOf(GameMode mode) {
  return static_cast<PanelCode>(mode);
}

}  // namespace vexa
