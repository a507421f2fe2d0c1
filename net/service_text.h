#pragma once

// The TXT record of a game's announcement: "name=PLAYER" and "ver=VERSION".
// What arrives comes from any machine on the network: each value is read
// as far as it can be (bytes that are not UTF-8 become U+FFFD, control
// characters are dropped) and cut to a length a list line can show.

#include <QByteArray>
#include <QList>
#include <QString>

namespace vexa::net {

// The longest value kept, in characters.
constexpr qsizetype kServiceTextLimit = 40;

struct ServiceText {
  QString player;
  QString version;
};

ServiceText ReadServiceText(const QList<QByteArray>& items);

// Bytes from the network as a short, printable line.
QString PrintableText(const QByteArray& bytes);

// The record of this program's announcement.
QList<QByteArray> MakeServiceText(const QString& player, const QString& version);

// An announcement's name for `player`: DNS-SD names hold at most 63 bytes,
// so a long name is cut at a character's boundary.
QByteArray ServiceName(const QString& player);

}  // namespace vexa::net
