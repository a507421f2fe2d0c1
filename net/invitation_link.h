#pragma once

// Invitation links, "vexa://HOST:PORT" (an IPv6 address in brackets:
// "vexa://[2001:db8::1]:36150"): what the host's waiting dialog copies, what
// a browser hands the program, and what vexa-bot joins. A link comes from
// anyone, so it is read strictly and refused with the reason.

#include <QString>
#include <optional>

namespace vexa::net {

struct InvitationLink {
  QString host;  // a name or an address, IPv6 without its brackets
  int port = 0;  // the game's port; the chat takes the next one
};

// Whether `text` is meant as a link at all (it starts with "vexa:"), so a
// command line can tell a bad link from an unrelated argument.
bool LooksLikeInvitationLink(const QString& text);

// The link's host and port, or nothing with `error` saying what is wrong.
std::optional<InvitationLink> ParseInvitationLink(const QString& text, QString& error);

// The link that invites to `host`:`port`.
QString MakeInvitationLink(const QString& host, int port);

}  // namespace vexa::net
