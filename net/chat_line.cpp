#include "net/chat_line.h"

#include "net/text_codec.h"

namespace vexa::net {

QString ChatLine(const QString& name, const QString& text) {
  QString line = name;
  line += kChatSeparator;
  line += text;
  return line;
}

QStringList SplitChatLines(QStringView read, QStringView peer_name) {
  QStringList lines;
  if (read.isEmpty()) return lines;
  if (peer_name.isEmpty()) return {read.toString()};

  QString header = peer_name.toString();
  header += kChatSeparator;
  qsizetype start = 0;
  qsizetype from = read.startsWith(header) ? header.size() + 1 : 1;
  for (qsizetype at; (at = read.indexOf(header, from)) >= 0;) {
    lines.append(read.sliced(start, at - start).toString());
    start = at;
    from = at + header.size() + 1;
  }
  lines.append(read.sliced(start).toString());
  return lines;
}

ChatReader::ChatReader() : decoder_(MakeStreamDecoder()) {}

QStringList ChatReader::Read(QByteArrayView bytes) {
  const QString text = decoder_.decode(bytes);
  return SplitChatLines(text, peer_name_);
}

void ChatReader::Reset() {
  decoder_ = MakeStreamDecoder();
  peer_name_.clear();
}

}  // namespace vexa::net
