#include "net/game_message.h"

#include "net/leading_number.h"
#include "net/text_codec.h"

namespace vexa::net {
namespace {

constexpr qsizetype kKeywordLength = 4;
constexpr qsizetype kArgumentStart = 5;  // after the keyword and its blank

// The entry whose keyword `text` starts with, or null.
const KeywordEntry* KeywordAt(QStringView text) {
  if (text.size() < kKeywordLength) return nullptr;
  const QStringView head = text.first(kKeywordLength);
  for (const KeywordEntry& entry : kKeywords) {
    if (head == entry.text) return &entry;
  }
  return nullptr;
}

bool IsKeywordPrefix(QStringView text) {
  for (const KeywordEntry& entry : kKeywords) {
    if (entry.text.startsWith(text)) return true;
  }
  return false;
}

bool OnlyBlanks(QStringView text) {
  for (QChar c : text) {
    if (c != u' ' && c != u'\t' && c != u'\n') return false;
  }
  return true;
}

// A keyword that takes an argument, followed by its blank.
bool ArgumentKeywordAt(QStringView text) {
  const KeywordEntry* entry = KeywordAt(text);
  return entry && entry->argument != ArgumentKind::None && text.size() >= kArgumentStart &&
         text[kKeywordLength] == u' ';
}

// Whether a text argument ends where `rest` begins: at a keyword that takes
// an argument with its blank, or at "Show" directly before one (the settings
// dialog's opening "ShowOptn 0"). Any other keyword without argument stays
// part of the text: names end in them ("NeverLose"), and a receiver that
// takes each read as one message would not cut there either.
bool EndsText(QStringView rest) {
  if (ArgumentKeywordAt(rest)) return true;
  const KeywordEntry* entry = KeywordAt(rest);
  return entry && entry->keyword == Keyword::Show && ArgumentKeywordAt(rest.sliced(kKeywordLength));
}

}  // namespace

QString MessageText(Keyword keyword, const QString& argument) {
  for (const KeywordEntry& entry : kKeywords) {
    if (entry.keyword != keyword) continue;
    if (entry.argument == ArgumentKind::None) return entry.text.toString();
    return entry.text.toString() + u' ' + argument;
  }
  return QString();
}

QString NameMessage(const QString& name) {
  return MessageText(Keyword::Name, name);
}
QString ShowMessage() {
  return MessageText(Keyword::Show);
}
QString OptnMessage(int index) {
  return MessageText(Keyword::Optn, QString::number(index));
}
QString Opt2Message(int index) {
  return MessageText(Keyword::Opt2, QString::number(index));
}
QString LimSMessage(const QString& text) {
  return MessageText(Keyword::LimS, text);
}
QString StTnMessage(int guest_moves_first) {
  return MessageText(Keyword::StTn, QString::number(guest_moves_first));
}
QString PutUMessage(int cell) {
  return MessageText(Keyword::PutU, QString::number(cell));
}
QString PutWMessage(int cell) {
  return MessageText(Keyword::PutW, QString::number(cell));
}
QString DecSMessage() {
  return MessageText(Keyword::DecS);
}
QString LoseMessage() {
  return MessageText(Keyword::Lose);
}
QString EndGMessage() {
  return MessageText(Keyword::EndG);
}

double ParsedMessage::Number() const {
  return LeadingNumber(argument);
}
int ParsedMessage::Integer() const {
  return LeadingInteger(argument);
}

ParsedMessage ParseMessage(QStringView message) {
  ParsedMessage parsed;
  if (const KeywordEntry* entry = KeywordAt(message)) parsed.keyword = entry->keyword;
  if (message.size() > kArgumentStart) parsed.argument = message.sliced(kArgumentStart).toString();
  return parsed;
}

SplitRead SplitMessages(QStringView text) {
  SplitRead split;
  const qsizetype n = text.size();
  qsizetype pos = 0;
  while (pos < n) {
    const QStringView rest = text.sliced(pos);
    const KeywordEntry* entry = KeywordAt(rest);
    if (!entry) {
      (rest.size() < kKeywordLength && IsKeywordPrefix(rest) ? split.incomplete : split.ignored) =
          rest.toString();
      break;
    }
    qsizetype end = pos + kKeywordLength;
    if (entry->argument != ArgumentKind::None) {
      const qsizetype argument = pos + kArgumentStart;
      const bool argument_missing =
          argument > n ||
          (entry->argument == ArgumentKind::Number && OnlyBlanks(text.sliced(argument))) ||
          (entry->keyword == Keyword::Name && argument == n);
      if (argument_missing) {
        split.incomplete = rest.toString();
        break;
      }
      if (entry->argument == ArgumentKind::Number) {
        end = argument + ScanLeadingNumber(text.sliced(argument)).end;
      } else {
        // A name keeps at least its first character.
        end = entry->keyword == Keyword::Name ? argument + 1 : argument;
        while (end < n && !EndsText(text.sliced(end)))
          ++end;
      }
    }
    split.messages.append(text.sliced(pos, end - pos).toString());
    pos = end;
  }
  return split;
}

bool NameTravelsWhole(QStringView name) {
  if (name.isEmpty()) return false;
  const QString message = NameMessage(name.toString());
  // Alone in its read, and followed by the host's opening burst: the name
  // must come through whole both ways.
  for (const QString& read : {message, message + ShowMessage() + OptnMessage(0)}) {
    const SplitRead split = SplitMessages(read);
    if (split.messages.isEmpty() || split.messages.first() != message) return false;
  }
  return true;
}

MessageReader::MessageReader() : decoder_(MakeStreamDecoder()) {}

QStringList MessageReader::Read(QByteArrayView bytes) {
  // Longer than any real beginning of a message ("PutU" and a few blanks).
  constexpr qsizetype kIncompleteLimit = 64;
  const QString decoded = decoder_.decode(bytes);
  const QString text = incomplete_ + decoded;
  SplitRead split = SplitMessages(text);
  incomplete_ = split.incomplete.size() <= kIncompleteLimit ? split.incomplete : QString();
  return split.messages;
}

void MessageReader::Reset() {
  decoder_ = MakeStreamDecoder();
  incomplete_.clear();
}

}  // namespace vexa::net
