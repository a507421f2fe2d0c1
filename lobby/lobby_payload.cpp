#include "lobby/lobby_payload.h"

#include <QHostAddress>
#include <QXmlStreamAttributes>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace vexa::lobby {

namespace {

constexpr qsizetype kMaxVersionLength = 16;

QString Element(const char* name, const QXmlStreamAttributes& attributes) {
  QString text;
  QXmlStreamWriter writer(&text);
  writer.writeDefaultNamespace(QLatin1String(kLobbyNamespace));
  writer.writeStartElement(QLatin1String(kLobbyNamespace), QLatin1String(name));
  writer.writeAttributes(attributes);
  writer.writeEndElement();
  return text;
}

// The attributes of `xml` when it is exactly one empty element `name` of
// the lobby's namespace (blanks and comments aside); nothing otherwise.
std::optional<QXmlStreamAttributes> LoneElement(QStringView xml, QLatin1StringView name) {
  if (xml.size() > kMaxPayloadBytes) return std::nullopt;
  QXmlStreamReader reader(xml.toString());
  std::optional<QXmlStreamAttributes> found;
  int depth = 0;
  while (!reader.atEnd()) {
    switch (reader.readNext()) {
      case QXmlStreamReader::StartElement:
        // One element, with nothing inside it.
        if (found || depth > 0) return std::nullopt;
        if (reader.name() != name || reader.namespaceUri() != QLatin1String(kLobbyNamespace)) {
          return std::nullopt;
        }
        found = reader.attributes();
        ++depth;
        break;
      case QXmlStreamReader::EndElement:
        --depth;
        break;
      case QXmlStreamReader::Characters:
        if (!reader.isWhitespace()) return std::nullopt;
        break;
      case QXmlStreamReader::DTD:
      case QXmlStreamReader::EntityReference:
      case QXmlStreamReader::ProcessingInstruction:
        return std::nullopt;
      default:
        break;
    }
  }
  if (reader.hasError() || depth != 0) return std::nullopt;
  return found;
}

std::optional<long long> WholeNumber(const QXmlStreamAttributes& attributes, const char* name,
                                     long long low, long long high) {
  const QStringView text = attributes.value(QLatin1String(name));
  // Digits only: no sign, blank or base prefix that toLongLong might take.
  if (text.isEmpty() || text.size() > 19) return std::nullopt;
  for (const QChar c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
  }
  bool ok = false;
  const long long value = text.toLongLong(&ok);
  if (!ok || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<QString> Version(const QXmlStreamAttributes& attributes) {
  const QStringView text = attributes.value(QLatin1String("version"));
  if (text.isEmpty() || text.size() > kMaxVersionLength) return std::nullopt;
  for (const QChar c : text) {
    const bool fits = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') ||
                      (c >= u'A' && c <= u'Z') || c == u'.' || c == u'+' || c == u'~' || c == u'-';
    if (!fits) return std::nullopt;
  }
  return text.toString();
}

}  // namespace

QString WriteGameAnnouncement(const GameAnnouncement& game) {
  QXmlStreamAttributes attributes;
  attributes.append(QStringLiteral("mode"),
                    game.excite_seconds ? QStringLiteral("excite") : QStringLiteral("normal"));
  if (game.excite_seconds) {
    attributes.append(QStringLiteral("limit"), QString::number(*game.excite_seconds));
  }
  attributes.append(QStringLiteral("version"), game.version);
  attributes.append(QStringLiteral("opened"), QString::number(game.opened_at));
  return Element("game", attributes);
}

QString WriteJoinRequest(const JoinRequest& request) {
  QXmlStreamAttributes attributes;
  attributes.append(QStringLiteral("version"), request.version);
  attributes.append(QStringLiteral("jid"), request.jid);
  return Element("join", attributes);
}

QString WriteInvitation(const Invitation& invitation) {
  QXmlStreamAttributes attributes;
  attributes.append(QStringLiteral("address"), invitation.address);
  attributes.append(QStringLiteral("port"), QString::number(invitation.port));
  attributes.append(QStringLiteral("jid"), invitation.jid);
  return Element("invite", attributes);
}

QString WriteRelayRequest(const RelayRequest& request) {
  QXmlStreamAttributes attributes;
  attributes.append(QStringLiteral("sid"), request.sid);
  return Element("relay", attributes);
}

QString WriteRelayReady(const RelayReady& ready) {
  QXmlStreamAttributes attributes;
  attributes.append(QStringLiteral("sid"), ready.sid);
  return Element("relay-ready", attributes);
}

std::optional<GameAnnouncement> ReadGameAnnouncement(QStringView xml, qint64 now) {
  const auto attributes = LoneElement(xml, QLatin1StringView("game"));
  if (!attributes) return std::nullopt;
  GameAnnouncement game;
  const QStringView mode = attributes->value(QLatin1String("mode"));
  if (mode == u"excite") {
    const auto limit = WholeNumber(*attributes, "limit", 1, kMaxExciteSeconds);
    if (!limit) return std::nullopt;
    game.excite_seconds = static_cast<int>(*limit);
  } else if (mode != u"normal") {
    return std::nullopt;
  }
  const auto version = Version(*attributes);
  if (!version) return std::nullopt;
  game.version = *version;
  // A clock ahead of ours would show a negative wait.
  const auto opened = WholeNumber(*attributes, "opened", 0, 1LL << 40);
  if (!opened) return std::nullopt;
  game.opened_at = std::min<qint64>(*opened, now);
  return game;
}

std::optional<JoinRequest> ReadJoinRequest(QStringView xml) {
  const auto attributes = LoneElement(xml, QLatin1StringView("join"));
  if (!attributes) return std::nullopt;
  const auto version = Version(*attributes);
  const QStringView jid = attributes->value(QLatin1String("jid"));
  if (!version || !IsAcceptableFullJid(jid)) return std::nullopt;
  return JoinRequest{*version, jid.toString()};
}

std::optional<Invitation> ReadInvitation(QStringView xml) {
  const auto attributes = LoneElement(xml, QLatin1StringView("invite"));
  if (!attributes) return std::nullopt;
  // A numeric address only: a name would send the guest to a lookup the
  // host chose.
  const QStringView address = attributes->value(QLatin1String("address"));
  if (address.isEmpty() || address.size() > 45) return std::nullopt;
  const QHostAddress parsed(address.toString());
  if (parsed.isNull()) return std::nullopt;
  // The chat takes the next port.
  const auto port = WholeNumber(*attributes, "port", 1, 65534);
  const QStringView jid = attributes->value(QLatin1String("jid"));
  if (!port || !IsAcceptableFullJid(jid)) return std::nullopt;
  return Invitation{parsed.toString(), static_cast<int>(*port), jid.toString()};
}

std::optional<RelayRequest> ReadRelayRequest(QStringView xml) {
  const auto attributes = LoneElement(xml, QLatin1StringView("relay"));
  if (!attributes) return std::nullopt;
  const QStringView sid = attributes->value(QLatin1String("sid"));
  if (!IsAcceptableSid(sid)) return std::nullopt;
  return RelayRequest{sid.toString()};
}

std::optional<RelayReady> ReadRelayReady(QStringView xml) {
  const auto attributes = LoneElement(xml, QLatin1StringView("relay-ready"));
  if (!attributes) return std::nullopt;
  const QStringView sid = attributes->value(QLatin1String("sid"));
  if (!IsAcceptableSid(sid)) return std::nullopt;
  return RelayReady{sid.toString()};
}

bool IsAcceptableSid(QStringView sid) {
  if (sid.size() < 8 || sid.size() > 64) return false;
  for (const QChar c : sid) {
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))) {
      return false;
    }
  }
  return true;
}

bool IsAcceptableFullJid(QStringView jid) {
  if (jid.isEmpty() || jid.size() > 256) return false;
  const qsizetype at = jid.indexOf(u'@');
  const qsizetype slash = jid.indexOf(u'/');
  if (at < 1 || slash < at + 2 || slash == jid.size() - 1) return false;
  for (const QChar c : jid) {
    if (c.isSpace() || c.category() == QChar::Other_Control ||
        c.category() == QChar::Other_Format) {
      return false;
    }
  }
  return true;
}

bool IsAcceptableNick(QStringView nick) {
  if (nick.isEmpty() || nick.size() > kMaxNickLength) return false;
  for (const QChar c : nick) {
    if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) {
      return false;
    }
  }
  return true;
}

}  // namespace vexa::lobby
