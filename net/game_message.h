#pragma once

// The messages of the game connection. A message is a four-letter keyword
// and, for most keywords, one blank and an argument; nothing else: no
// terminator, no length. Each is sent in one write (bytes: EncodeText).
//
// TCP may hand the receiver two sends in one read ("ShowOptn 0") or one send
// in two reads. SplitMessages cuts a read at message boundaries and
// MessageReader carries the beginning of a message cut off at the end of a
// read over to the next one; ParseMessage then reads one message as every
// receiver does.

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QStringView>

namespace vexa::net {

enum class Keyword { Unknown, Name, Show, Optn, Opt2, LimS, StTn, PutU, PutW, EndG, DecS, Lose };

// What follows a keyword: nothing, a number, or a text.
enum class ArgumentKind { None, Number, Text };

struct KeywordEntry {
  QStringView text;
  Keyword keyword;
  ArgumentKind argument;
};

// Every message there is, in the order in which a receiver compares them. A
// new message is a line here, its handling in the session, and what the
// windows make of it.
inline constexpr KeywordEntry kKeywords[] = {
    {u"Name", Keyword::Name, ArgumentKind::Text},   {u"Show", Keyword::Show, ArgumentKind::None},
    {u"Optn", Keyword::Optn, ArgumentKind::Number}, {u"Opt2", Keyword::Opt2, ArgumentKind::Number},
    {u"LimS", Keyword::LimS, ArgumentKind::Text},   {u"StTn", Keyword::StTn, ArgumentKind::Number},
    {u"PutU", Keyword::PutU, ArgumentKind::Number}, {u"PutW", Keyword::PutW, ArgumentKind::Number},
    {u"EndG", Keyword::EndG, ArgumentKind::None},   {u"DecS", Keyword::DecS, ArgumentKind::None},
    {u"Lose", Keyword::Lose, ArgumentKind::None},
};

// A message as sent: the keyword, and its blank and argument if it takes
// one.
QString MessageText(Keyword keyword, const QString& argument = QString());

// --- The messages as sent.
QString NameMessage(const QString& name);    // "Name " + the sender's name
QString ShowMessage();                       // "Show": open the settings dialog
QString OptnMessage(int index);              // "Optn " + who moves first, sender's view
QString Opt2Message(int index);              // "Opt2 " + 0 "Normal" or 1 "Excite"
QString LimSMessage(const QString& text);    // "LimS " + the time-limit field's text
QString StTnMessage(int guest_moves_first);  // "StTn " + 0 host first, 1 guest first
QString PutUMessage(int cell);               // "PutU " + cell of a piece
QString PutWMessage(int cell);               // "PutW " + cell of a blocker
QString DecSMessage();                       // "DecS": the clock took a blocker
QString LoseMessage();                       // "Lose": lost on time
QString EndGMessage();                       // "EndG": the sender leaves

// --- Receiving.
struct ParsedMessage {
  Keyword keyword = Keyword::Unknown;
  QString argument;

  // The argument by the leading-number rule (see leading_number.h).
  double Number() const;
  int Integer() const;
};

// One message: the keyword is its first four characters, compared exactly;
// the fifth character is skipped whatever it is; the argument is the rest.
ParsedMessage ParseMessage(QStringView message);

// A read cut at its message boundaries. Joined again, messages + ignored +
// incomplete give the read back.
struct SplitRead {
  QStringList messages;
  // From a keyword that is none of the known ones to the end of the read.
  QString ignored;
  // The beginning of a message whose rest has not arrived: part of a
  // keyword, a keyword that takes an argument without it, or "Name " alone.
  QString incomplete;
};

// Boundaries: a keyword without argument is four characters; a numeric
// argument ends where its number ends. A text argument ("Name", "LimS") runs
// to the end of the read, or to where a keyword that takes an argument
// begins with its blank ("LimS 1LimS 10" is two messages), or to where
// "Show" begins directly followed by such a keyword ("Name HShowOptn 0" is
// three: a host's name and its settings dialog's first messages). Any other
// keyword without argument stays part of the text: "Name NeverLose" is the
// name "NeverLose", "Name TheShow" the name "TheShow", "LimS EndG" a time
// limit. A peer that takes each read as one message never cuts at all, so
// the fewer cuts, the better. A name is never empty, so the first character
// after "Name " always belongs to the name.
//
// A message at the end of a read counts as complete: a number or a text cut
// in two by TCP cannot be told from a whole one, and the senders never
// wait between the parts of one message, so that case is left alone.
SplitRead SplitMessages(QStringView text);

// Whether a name reaches the peer unchanged: not empty and, by the rule
// above, no keyword that takes an argument with its blank inside it. It is
// tried alone and before the host's "ShowOptn 0", the messages that may
// share a read with a name. A name that ends in "Show" would still be cut
// if a message with an argument followed it directly, but none does: the
// host says "Show" first, and the guest's next message answers that "Show",
// a round trip after its name.
bool NameTravelsWhole(QStringView name);

// Turns the reads of one game connection into whole messages, in order.
// Reset it for each new connection.
class MessageReader {
 public:
  MessageReader();

  QStringList Read(QByteArrayView bytes);
  void Reset();

 private:
  QStringDecoder decoder_;
  QString incomplete_;
};

}  // namespace vexa::net
