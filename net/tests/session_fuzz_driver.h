#pragma once

// Feeds arbitrary reads of the game connection to a whole OnlineSession (the
// splitting and the dispatcher) with the windows and the sockets faked, from
// a chosen point in the life of a connection, with local clicks, ticks of
// the move clock and a lost connection mixed in. After every step it checks
// what must hold whatever the peer sends. Shared by the libFuzzer target and
// the seeded loop in net_tests.

#include <QByteArray>
#include <QByteArrayView>
#include <cstddef>
#include <string>

namespace vexa::net::fuzz {

// Where the connection stands when the peer's reads begin.
enum class Phase {
  HostSettings,   // hosting, the peer named, no game yet (Turn 0)
  GuestSettings,  // joined, the host's settings dialog mirrored
  HostToMove,     // hosting, an "Excite" game running, this side to move (Turn 1)
  GuestWaiting,   // joined, a "Normal" game running, the host to move (Turn 4)
  AfterGame,      // hosting, the peer has won by a square (Turn 5)
  AfterEndG,      // joined, the host has left with "EndG"
};
inline constexpr int kPhaseCount = 6;

struct SessionResult {
  std::size_t reads = 0;
  std::string failure;  // empty when every check held
};

// The input is the phase (its first byte, modulo kPhaseCount), then steps:
// a length byte L > 0 and L bytes is one read; a length byte 0 and one more
// byte is a local event (see SessionInput).
SessionResult FeedSession(QByteArrayView input);

// Builds the input FeedSession takes.
class SessionInput {
 public:
  explicit SessionInput(Phase phase);
  // One read; longer ones are cut into reads of at most 255 bytes.
  SessionInput& Read(const QByteArray& bytes);
  // The local player presses a mouse button on a cell.
  SessionInput& Click(int cell, bool right_button);
  // One tick of the move clock.
  SessionInput& Tick();
  // The game connection ends without a word: the peer closed (true) or it
  // failed (false).
  SessionInput& ConnectionLost(bool closed_by_peer);
  const QByteArray& Bytes() const { return bytes_; }

 private:
  QByteArray bytes_;
};

}  // namespace vexa::net::fuzz
