#pragma once

// Chat lines on the chat connection: the sender's name, " >> ", the typed
// text; one write per line and nothing around it. Lines that TCP merges into
// one read are cut where the peer's name and " >> " begin a new line.

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QStringView>

namespace vexa::net {

inline constexpr QStringView kChatSeparator = u" >> ";

QString ChatLine(const QString& name, const QString& text);

// Cuts a read before every "<peer_name> >> " that starts a line. A sender
// never sends an empty text, so a line keeps at least one character after
// its own separator ("Bob >> Bob >> hi" is one line); the same text typed
// inside a line ("Bob >> hi Bob >> there") does start a new one. An empty
// peer name cuts nothing.
QStringList SplitChatLines(QStringView read, QStringView peer_name);

// Turns the reads of one chat connection into lines. A line cut by TCP into
// two reads comes out as two lines; nothing tells its end.
class ChatReader {
 public:
  ChatReader();

  void SetPeerName(const QString& name) { peer_name_ = name; }
  QStringList Read(QByteArrayView bytes);
  void Reset();

 private:
  QStringDecoder decoder_;
  QString peer_name_;
};

}  // namespace vexa::net
