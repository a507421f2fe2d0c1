// Random and mutated reads on the receiving side. The normal suite feeds a
// small number; the sanitizer run sets VEXA_FUZZ_READS=1000000 (and may
// pick another VEXA_FUZZ_SEED).

#include <gtest/gtest.h>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdlib>
#include <iostream>
#include <random>

#include "game_message.h"
#include "qt_print.h"
#include "read_fuzz_driver.h"
#include "text_codec.h"

namespace vexa::net {
namespace {

using Random = std::mt19937;

int Uniform(Random& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

// A name the sender would allow: not empty, no blank, not ending in a
// keyword without argument. Drawn from letters of the keywords on purpose.
QString RandomName(Random& random) {
  static const QString kPool = QStringLiteral("NameShowOptn2LimSStTnPutUWEndGDecSLose太郎ー！_");
  QString name;
  for (int n = Uniform(random, 1, 10); n > 0; --n) {
    name += kPool[Uniform(random, 0, kPool.size() - 1)];
  }
  for (const char16_t* keyword : {u"Show", u"EndG", u"DecS", u"Lose"}) {
    if (name.endsWith(QStringView(keyword))) name += u'x';
  }
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
      const QString message = RandomMessage(random);
      const QByteArray bytes = EncodeText(message);
      if (Uniform(random, 0, 1) == 1) {
        reads.append(QByteArray());
        text_open = false;
      }
      if (!text_open && Uniform(random, 0, 3) == 0) {
        const int at = Uniform(random, 1, LongestHeadCut(message));
        reads.last() += bytes.left(at);
        reads.append(bytes.mid(at));
      } else {
        reads.last() += bytes;
      }
      if (HasTextArgument(message)) {
        text_open = true;
      } else if (message.size() > 4) {
        text_open = false;  // its keyword and blank ended the text
      }
      sent.append(message);
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

TEST(ReadFuzz, RandomAndMutatedReadsBreakNothing) {
  const char* wanted = std::getenv("VEXA_FUZZ_READS");
  const std::size_t reads_wanted = wanted ? std::strtoull(wanted, nullptr, 10) : 20000;
  const char* seed = std::getenv("VEXA_FUZZ_SEED");
  Random random(seed ? std::strtoul(seed, nullptr, 10) : 5);
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
  if (wanted) std::cout << "fed " << reads_fed << " reads\n";
}

}  // namespace
}  // namespace vexa::net
