// Random and mutated reads on the receiving side: split and checked alone,
// and applied by a whole session. The normal suite feeds a small number of
// each; the sanitizer run sets VEXA_FUZZ_READS=1000000 (and may pick another
// VEXA_FUZZ_SEED).

#include <gtest/gtest.h>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdlib>
#include <iostream>
#include <random>

#include "core/board.h"
#include "net/game_message.h"
#include "net/text_codec.h"
#include "qt_print.h"
#include "read_fuzz_driver.h"
#include "session_fuzz_driver.h"

namespace vexa::net {
namespace {

using Random = std::mt19937;

int Uniform(Random& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

// A name without blanks, drawn from letters of the keywords on purpose.
// Not ending in "Show": that "Show" would open the settings if a message
// with an argument followed directly, which no sender does after a name.
QString RandomName(Random& random) {
  static const QString kPool = QStringLiteral("NameShowOptn2LimSStTnPutUWEndGDecSLose太郎ー！_");
  QString name;
  for (int n = Uniform(random, 1, 10); n > 0; --n) {
    name += kPool[Uniform(random, 0, kPool.size() - 1)];
  }
  if (name.endsWith(u"Show")) name += u'x';
  return name;
}

QString RandomMessage(Random& random) {
  const int n = Uniform(random, 0, 120);
  const QString messages[] = {
      NameMessage(RandomName(random)),
      ShowMessage(),
      OptnMessage(n % 3),
      Opt2Message(n % 2),
      LimSMessage(n % 4 ? QString::number(n) : QString()),
      StTnMessage(n % 2),
      PutUMessage(n),
      PutWMessage(n * 9973),
      DecSMessage(),
      LoseMessage(),
      EndGMessage(),
  };
  return messages[Uniform(random, 0, std::size(messages) - 1)];
}

bool HasTextArgument(const QString& message) {
  return message.startsWith(u"Name") || message.startsWith(u"LimS");
}

// How far into a message a cut may fall and still be carried over: inside
// the keyword, and after the blank where the argument cannot be empty.
int LongestHeadCut(const QString& message) {
  if (message.size() == 4) return 3;
  return message.startsWith(u"LimS") ? 4 : 5;
}

QString RandomMessageWithArgument(Random& random) {
  QString message;
  do {
    message = RandomMessage(random);
  } while (message.size() == 4);
  return message;
}

// Well-formed messages, merged into reads at random and cut at random inside
// their keywords, come out of the reader exactly as they were sent.
TEST(ReadFuzz, SentMessagesSurviveAnyMergingAndCutsInKeywords) {
  Random random(20261208);
  for (int round = 0; round < 2000; ++round) {
    QStringList sent;
    QList<QByteArray> reads = {QByteArray()};
    // A text argument in the current read whose end no keyword with its
    // blank has fixed yet: a cut now would end the text there.
    bool text_open = false;
    for (int n = Uniform(random, 1, 12); n > 0; --n) {
      QStringList burst = {RandomMessage(random)};
      if (Uniform(random, 0, 1) == 1) {
        reads.append(QByteArray());
        text_open = false;
      }
      // After an open text, a keyword without argument would join the text
      // unless it is "Show" directly before a message with an argument.
      if (text_open && burst.first().size() == 4) {
        if (burst.first() == ShowMessage() && Uniform(random, 0, 1) == 0) {
          burst.append(RandomMessageWithArgument(random));
        } else {
          reads.append(QByteArray());
          text_open = false;
        }
      }
      const QByteArray bytes = EncodeText(burst.join(QString()));
      if (!text_open && Uniform(random, 0, 3) == 0) {
        const int at = Uniform(random, 1, LongestHeadCut(burst.first()));
        reads.last() += bytes.left(at);
        reads.append(bytes.mid(at));
      } else {
        reads.last() += bytes;
      }
      if (HasTextArgument(burst.last())) {
        text_open = true;
      } else if (burst.last().size() > 4) {
        text_open = false;  // its keyword and blank ended the text
      }
      sent += burst;
    }
    MessageReader reader;
    QStringList received;
    for (const QByteArray& read : reads)
      received += reader.Read(read);
    ASSERT_EQ(received, sent) << "round " << round;
  }
}

// Stray keywords, halves of two-byte characters, long runs of blanks or
// digits, removed bytes and noise.
void Mutate(Random& random, QByteArray& bytes) {
  static const QList<QByteArray> kPieces = {"Name ", "Show", "Optn ", "LimS ", "PutU ", "EndG",
                                            " >> ",  "\x91", "\xBE",  "e9",    "-",     "Pu"};
  for (int n = Uniform(random, 0, 4); n > 0; --n) {
    const int at = Uniform(random, 0, static_cast<int>(bytes.size()));
    QByteArray piece;
    switch (Uniform(random, 0, 3)) {
      case 0:
        piece = kPieces[Uniform(random, 0, kPieces.size() - 1)];
        break;
      case 1:
        piece = QByteArray(Uniform(random, 1, 3000), " 9"[Uniform(random, 0, 1)]);
        break;
      case 2:
        bytes.remove(at, Uniform(random, 1, 8));
        break;
      default:
        for (int k = Uniform(random, 1, 16); k > 0; --k)
          piece += char(Uniform(random, 0, 255));
    }
    bytes.insert(at, piece);
  }
}

const char* ReadsAsked() {
  return std::getenv("VEXA_FUZZ_READS");
}

std::size_t ReadsWanted() {
  const char* wanted = ReadsAsked();
  return wanted ? std::strtoull(wanted, nullptr, 10) : 20000;
}

unsigned long Seed() {
  const char* seed = std::getenv("VEXA_FUZZ_SEED");
  return seed ? std::strtoul(seed, nullptr, 10) : 5;
}

TEST(ReadFuzz, RandomAndMutatedReadsBreakNothing) {
  const std::size_t reads_wanted = ReadsWanted();
  const bool asked = ReadsAsked() != nullptr;
  Random random(Seed());
  std::size_t reads_fed = 0;
  while (reads_fed < reads_wanted) {
    QList<QByteArray> reads;
    for (int n = Uniform(random, 1, 8); n > 0; --n) {
      QByteArray read;
      for (int m = Uniform(random, 0, 4); m > 0; --m)
        read += EncodeText(RandomMessage(random));
      Mutate(random, read);
      reads.append(read);
    }
    const auto result = fuzz::FeedReads(fuzz::PackReads(reads));
    reads_fed += result.reads;
    ASSERT_EQ(result.failure, "") << "after " << reads_fed << " reads";
  }
  if (asked) std::cout << "fed " << reads_fed << " reads\n";
}

// Messages in their format with arguments no sender would choose.
QString OddMessage(Random& random) {
  static const char16_t* kKeywords[] = {u"Optn ", u"Opt2 ", u"StTn ", u"PutU ",
                                        u"PutW ", u"LimS ", u"Name "};
  static const char16_t* kArguments[] = {
      u"-1", u"121",   u"120", u"0",     u"1e300",  u"-1e400", u"2147483648", u"0.5", u"1.5",
      u"-0", u"32768", u"7e4", u"99999", u"   3  ", u"1-",     u"e5",         u"NaN", u"太郎",
  };
  return QStringView(kKeywords[Uniform(random, 0, std::size(kKeywords) - 1)]).toString() +
         QStringView(kArguments[Uniform(random, 0, std::size(kArguments) - 1)]).toString();
}

// The same kind of reads, now applied by a whole session, from every point
// in the life of a connection, with the local player's clicks, the move
// clock's ticks and a lost connection between them.
TEST(ReadFuzz, ReadsAppliedInEveryPhaseOfAConnectionBreakNothing) {
  const std::size_t reads_wanted = ReadsWanted();
  Random random(Seed() + 1);
  std::size_t per_phase[fuzz::kPhaseCount] = {};
  std::size_t reads_fed = 0;
  for (int round = 0; reads_fed < reads_wanted; ++round) {
    const int phase = round % fuzz::kPhaseCount;
    fuzz::SessionInput input(static_cast<fuzz::Phase>(phase));
    for (int n = Uniform(random, 1, 12); n > 0; --n) {
      switch (Uniform(random, 0, 15)) {
        case 0:
        case 1:
          input.Click(Uniform(random, 0, kCellCount - 1), Uniform(random, 0, 3) == 0);
          break;
        case 2:
          input.Tick();
          break;
        case 3:
          if (Uniform(random, 0, 15) == 0) input.ConnectionLost(Uniform(random, 0, 1) == 0);
          break;
        default: {
          QByteArray read;
          for (int m = Uniform(random, 1, 4); m > 0; --m) {
            read +=
                EncodeText(Uniform(random, 0, 3) == 0 ? OddMessage(random) : RandomMessage(random));
          }
          if (Uniform(random, 0, 1) == 0) Mutate(random, read);
          input.Read(read);
        }
      }
    }
    const auto result = fuzz::FeedSession(input.Bytes());
    reads_fed += result.reads;
    per_phase[phase] += result.reads;
    ASSERT_EQ(result.failure, "") << "phase " << phase << ", round " << round << ", input of "
                                  << input.Bytes().size() << " bytes starting "
                                  << input.Bytes().left(200).toHex().toStdString();
  }
  if (ReadsAsked()) {
    std::cout << "applied " << reads_fed << " reads; by phase:";
    for (const std::size_t n : per_phase)
      std::cout << " " << n;
    std::cout << "\n";
  }
}

}  // namespace
}  // namespace vexa::net
