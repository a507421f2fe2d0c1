#include "read_fuzz_driver.h"

#include <algorithm>
#include <cmath>

#include "net/chat_line.h"
#include "net/game_message.h"
#include "net/text_codec.h"

namespace vexa::net::fuzz {
namespace {

std::string Describe(const char* what, const QString& text) {
  return std::string(what) + ": \"" + text.toStdString() + "\"";
}

// What must hold for one read, whatever it holds.
std::string CheckRead(MessageReader& reader, QByteArrayView read) {
  for (const QString& message : reader.Read(read)) {
    const ParsedMessage parsed = ParseMessage(message);
    if (parsed.keyword == Keyword::Unknown) return Describe("message without keyword", message);
    if (std::isnan(parsed.Number())) return Describe("argument read as NaN", message);
    (void)parsed.Integer();
  }

  const QString text = DecodeText(read);
  const SplitRead split = SplitMessages(text);
  if (split.messages.join(QString()) + split.ignored + split.incomplete != text) {
    return Describe("split lost or added characters", text);
  }

  for (const QString& peer : {QStringLiteral("Bob"), QStringLiteral("太郎")}) {
    const QStringList lines = SplitChatLines(text, peer);
    if (lines.join(QString()) != text) return Describe("chat split changed the text", text);
    for (const QString& line : lines) {
      if (line.isEmpty()) return Describe("empty chat line", text);
    }
  }

  (void)EncodeText(text);
  (void)FitsCodePage932(text);
  return {};
}

}  // namespace

FeedResult FeedReads(QByteArrayView input) {
  FeedResult result;
  MessageReader reader;
  ChatReader chat;
  chat.SetPeerName(QStringLiteral("太郎"));
  qsizetype pos = 0;
  while (pos < input.size()) {
    const qsizetype length =
        std::min<qsizetype>(static_cast<unsigned char>(input[pos]), input.size() - pos - 1);
    const QByteArrayView read = input.sliced(pos + 1, length);
    pos += 1 + length;
    ++result.reads;
    (void)chat.Read(read);
    result.failure = CheckRead(reader, read);
    if (!result.failure.empty()) break;
  }
  return result;
}

QByteArray PackReads(const QList<QByteArray>& reads) {
  QByteArray packed;
  for (const QByteArray& read : reads) {
    qsizetype at = 0;
    do {
      const qsizetype length = std::min<qsizetype>(255, read.size() - at);
      packed += static_cast<char>(length);
      packed += read.mid(at, length);
      at += length;
    } while (at < read.size());
  }
  return packed;
}

}  // namespace vexa::net::fuzz
