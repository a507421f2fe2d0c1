#pragma once

// What the lobby's clients tell each other beside the chat, as small XML
// elements of the namespace kLobbyNamespace: an open game carried in the
// host's presence in the room, and the two private messages of a join (the
// guest's request, the host's invitation with its address).
//
// Everything read here comes from strangers: the readers take at most
// kMaxPayloadBytes, accept only the expected element with bounded, checked
// attributes, and answer nothing for anything else.

#include <QString>
#include <QStringView>
#include <optional>

namespace vexa::lobby {

inline constexpr char kLobbyNamespace[] = "urn:x-vexa:lobby:1";
inline constexpr qsizetype kMaxPayloadBytes = 1024;
// What the settings' time-limit field can hold.
inline constexpr int kMaxExciteSeconds = 32767;

// An open game as its host announces it. The lobby shows no address: it
// goes only to the chosen opponent, inside the invitation.
struct GameAnnouncement {
  // Seconds per move of an "Excite" game; none for "Normal".
  std::optional<int> excite_seconds;
  // The host's program version, up to 16 of [0-9A-Za-z.+~-].
  QString version;
  // When the game opened, in seconds since the epoch (UTC); the reader
  // brings a time in the future back to `now`.
  qint64 opened_at = 0;
  bool operator==(const GameAnnouncement&) const = default;
};

// The guest's request to play the host's open game, with its full address
// on the server for a relayed stream.
struct JoinRequest {
  QString version;
  QString jid;
  bool operator==(const JoinRequest&) const = default;
};

// The host's answer: where to connect. The game connection is on `port`,
// the chat on `port` + 1, as for any online game.
struct Invitation {
  QString address;  // a numeric IPv4 or IPv6 address, never a name
  int port = 0;
  QString jid;  // the host's full address on the server, for a relayed stream
  bool operator==(const Invitation&) const = default;
};

// When the direct connection fails, the guest asks for the relay (the
// session id of XEP-0065), and the host answers once its streams wait at
// the proxy.
struct RelayRequest {
  QString sid;
  bool operator==(const RelayRequest&) const = default;
};
struct RelayReady {
  QString sid;
  bool operator==(const RelayReady&) const = default;
};

QString WriteGameAnnouncement(const GameAnnouncement& game);
QString WriteJoinRequest(const JoinRequest& request);
QString WriteInvitation(const Invitation& invitation);
QString WriteRelayRequest(const RelayRequest& request);
QString WriteRelayReady(const RelayReady& ready);

std::optional<GameAnnouncement> ReadGameAnnouncement(QStringView xml, qint64 now);
std::optional<JoinRequest> ReadJoinRequest(QStringView xml);
std::optional<Invitation> ReadInvitation(QStringView xml);
std::optional<RelayRequest> ReadRelayRequest(QStringView xml);
std::optional<RelayReady> ReadRelayReady(QStringView xml);

// A session id: 8 to 64 letters and digits.
bool IsAcceptableSid(QStringView sid);
// A full address as a payload carries it: local@domain/resource, at most
// 256 characters, no blanks or control characters.
bool IsAcceptableFullJid(QStringView jid);

// A room nickname as the lobby shows it: at most kMaxNickLength
// characters, no control characters; nothing when it is not one.
inline constexpr qsizetype kMaxNickLength = 64;
bool IsAcceptableNick(QStringView nick);

}  // namespace vexa::lobby
