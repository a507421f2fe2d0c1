#pragma once

// Why a connection could not be made, in the few kinds a player can act on:
// the peer refused it, nothing answered in time, the host's name is
// unknown, or no route leads to it. The window words them; the rest keep
// the socket's own description.

namespace vexa::net {

enum class JoinFailure {
  Refused,       // something is at the address but nobody listens on the port
  NoAnswer,      // the attempt timed out
  HostNotFound,  // the name lookup found nothing
  Unreachable,   // no route to the network or the host
  Other,
};

// The kind of a QAbstractSocket::SocketError value.
JoinFailure JoinFailureOf(int socket_error);

}  // namespace vexa::net
