#include "net/service_text.h"

namespace vexa::net {

namespace {

constexpr qsizetype kServiceNameBytes = 63;

}  // namespace

QString PrintableText(const QByteArray& bytes) {
  // More than the limit needs is not even decoded.
  const QString decoded = QString::fromUtf8(bytes.left(kServiceTextLimit * 4));
  QString text;
  for (QChar c : decoded) {
    if (text.size() >= kServiceTextLimit) break;
    if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) continue;
    text += c;
  }
  // A surrogate pair cut in half at the limit would be no character.
  if (!text.isEmpty() && text.back().isHighSurrogate()) text.chop(1);
  return text;
}

ServiceText ReadServiceText(const QList<QByteArray>& items) {
  ServiceText text;
  for (const QByteArray& item : items) {
    const qsizetype equals = item.indexOf('=');
    if (equals < 0) continue;
    const QByteArray key = item.left(equals).toLower();
    const QByteArray value = item.mid(equals + 1);
    if (key == "name" && text.player.isEmpty()) text.player = PrintableText(value);
    if (key == "ver" && text.version.isEmpty()) text.version = PrintableText(value);
  }
  return text;
}

QList<QByteArray> MakeServiceText(const QString& player, const QString& version) {
  // A TXT item holds at most 255 bytes; the name's limit keeps it well below.
  return {"name=" + ServiceName(player), "ver=" + version.toUtf8()};
}

QByteArray ServiceName(const QString& player) {
  QByteArray name;
  for (qsizetype i = 0; i < player.size(); ++i) {
    const qsizetype length = player[i].isHighSurrogate() && i + 1 < player.size() ? 2 : 1;
    const QByteArray character = player.mid(i, length).toUtf8();
    if (name.size() + character.size() > kServiceNameBytes) break;
    name += character;
    i += length - 1;
  }
  return name.isEmpty() ? QByteArrayLiteral("Vexa") : name;
}

}  // namespace vexa::net
