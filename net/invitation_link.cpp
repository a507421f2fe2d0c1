#include "net/invitation_link.h"

#include <QHostAddress>

namespace vexa::net {

namespace {

const QString kScheme = QStringLiteral("vexa:");
// A DNS name's limit; anything longer is no host.
constexpr qsizetype kHostLimit = 253;

bool IsHostNameCharacter(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'-' || c == u'.' || c == u'_';
}

}  // namespace

bool LooksLikeInvitationLink(const QString& text) {
  return text.startsWith(kScheme, Qt::CaseInsensitive);
}

std::optional<InvitationLink> ParseInvitationLink(const QString& text, QString& error) {
  const auto fail = [&error](const char* what) {
    error = QString::fromLatin1(what);
    return std::nullopt;
  };
  if (!text.startsWith(QStringLiteral("vexa://"), Qt::CaseInsensitive)) {
    return fail("it does not begin with vexa://");
  }
  QString rest = text.mid(7);
  // Browsers and chat programs may add a closing slash.
  if (rest.endsWith(u'/')) rest.chop(1);
  if (rest.isEmpty()) return fail("the host is missing");

  InvitationLink link;
  QString port_text;
  if (rest.startsWith(u'[')) {
    const qsizetype close = rest.indexOf(u']');
    if (close < 0) return fail("the IPv6 address has no closing bracket");
    link.host = rest.mid(1, close - 1);
    QHostAddress address;
    if (!address.setAddress(link.host) || address.protocol() != QAbstractSocket::IPv6Protocol) {
      return fail("the address in brackets is not an IPv6 address");
    }
    rest = rest.mid(close + 1);
    if (!rest.startsWith(u':')) return fail("the port is missing");
    port_text = rest.mid(1);
  } else {
    if (rest.count(u':') > 1) return fail("an IPv6 address must stand in brackets");
    const qsizetype colon = rest.indexOf(u':');
    if (colon < 0) return fail("the port is missing");
    link.host = rest.left(colon);
    port_text = rest.mid(colon + 1);
    if (link.host.isEmpty()) return fail("the host is missing");
    if (link.host.size() > kHostLimit) return fail("the host name is too long");
    for (QChar c : link.host) {
      if (!IsHostNameCharacter(c)) return fail("the host name has a character no host has");
    }
  }
  if (port_text.isEmpty()) return fail("the port is missing");
  if (port_text.size() > 5) return fail("the port is not a number from 1 to 65534");
  for (QChar c : port_text) {
    if (c < u'0' || c > u'9') return fail("the port is not a number from 1 to 65534");
  }
  // The chat takes the next port, so 65535 cannot be a game's.
  link.port = port_text.toInt();
  if (link.port < 1 || link.port > 65534) return fail("the port is not a number from 1 to 65534");
  return link;
}

QString MakeInvitationLink(const QString& host, int port) {
  const bool v6 = host.contains(u':');
  return QStringLiteral("vexa://") + (v6 ? u'[' + host + u']' : host) + u':' +
         QString::number(port);
}

}  // namespace vexa::net
