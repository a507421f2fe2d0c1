#include "net/game_message.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QList>
#include <climits>

#include "net/leading_number.h"
#include "net/text_codec.h"
#include "qt_print.h"

namespace vexa::net {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST(GameMessage, WireBytesAreKeywordBlankArgumentAndNothingElse) {
  const QList<std::pair<QString, QByteArray>> cases = {
      {NameMessage(QStringLiteral("太郎")), "Name \x91\xBE\x98\x59"},
      {ShowMessage(), "Show"},
      {OptnMessage(0), "Optn 0"},
      {Opt2Message(1), "Opt2 1"},
      {LimSMessage(QString()), "LimS "},
      {LimSMessage(QStringLiteral("10")), "LimS 10"},
      {StTnMessage(1), "StTn 1"},
      {PutUMessage(60), "PutU 60"},
      {PutWMessage(5), "PutW 5"},
      {DecSMessage(), "DecS"},
      {LoseMessage(), "Lose"},
      {EndGMessage(), "EndG"},
  };
  for (const auto& [message, bytes] : cases)
    EXPECT_EQ(EncodeText(message), bytes) << message.toStdString();
}

TEST(GameMessage, ParseTakesFourLetterKeywordSkipsFifthCharacter) {
  struct Case {
    const char16_t* message;
    Keyword keyword;
    const char16_t* argument;
  };
  const Case cases[] = {
      {u"Show", Keyword::Show, u""},       {u"EndG", Keyword::EndG, u""},
      {u"Name B", Keyword::Name, u"B"},    {u"Name ", Keyword::Name, u""},
      {u"Opt2 1", Keyword::Opt2, u"1"},    {u"Optn 0", Keyword::Optn, u"0"},
      {u"PutUx12", Keyword::PutU, u"12"},  {u"ShowTime", Keyword::Show, u"ime"},
      {u"putU 1", Keyword::Unknown, u"1"}, {u"Sho", Keyword::Unknown, u""},
      {u"", Keyword::Unknown, u""},
  };
  for (const Case& c : cases) {
    const ParsedMessage parsed = ParseMessage(c.message);
    EXPECT_EQ(parsed.keyword, c.keyword) << QString::fromUtf16(c.message).toStdString();
    EXPECT_EQ(parsed.argument, QString::fromUtf16(c.argument));
  }
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartLikeEveryReceiver) {
  EXPECT_EQ(LeadingNumber(u"60"), 60);
  EXPECT_EQ(LeadingNumber(u" 1 2"), 12);  // blanks are ignored everywhere
  EXPECT_EQ(LeadingNumber(u"5PutU 6"), 5);
  EXPECT_EQ(LeadingNumber(u"5EndG"), 5);  // an E without digits is no exponent
  EXPECT_EQ(LeadingNumber(u"-3"), -3);
  EXPECT_EQ(LeadingNumber(u"1.5"), 1.5);
  EXPECT_EQ(LeadingNumber(u"2e3"), 2000);
  EXPECT_EQ(LeadingNumber(u""), 0);
  EXPECT_EQ(LeadingNumber(u"abc"), 0);
  EXPECT_EQ(LeadingNumber(u"-"), 0);

  EXPECT_EQ(LeadingInteger(u"2.5"), 2);
  EXPECT_EQ(LeadingInteger(u"3.5"), 4);
  EXPECT_EQ(LeadingInteger(u"99999999999999999999"), INT_MAX);
  EXPECT_EQ(LeadingInteger(u"-1e999999999999999999999"), INT_MIN);
  EXPECT_EQ(LeadingInteger(u"1e-99999"), 0);
}

TEST(SplitMessages, MergedReadsComeApartInOrder) {
  struct Case {
    const char16_t* read;
    std::vector<QString> messages;
  };
  const Case cases[] = {
      {u"PutW 5PutU 6", {"PutW 5", "PutU 6"}},
      {u"ShowOptn 0", {"Show", "Optn 0"}},
      {u"LimS 1LimS 10", {"LimS 1", "LimS 10"}},
      {u"LimS LimS 1LimS 10", {"LimS ", "LimS 1", "LimS 10"}},
      {u"Name ShowTime", {"Name ShowTime"}},
      // A keyword without argument at the end of a text is part of it...
      {u"Name NeverLose", {"Name NeverLose"}},
      {u"Name TheShow", {"Name TheShow"}},
      {u"Name MrShow", {"Name MrShow"}},
      {u"LimS EndG", {"LimS EndG"}},
      // ...unless it is "Show" opening the settings right after the text.
      {u"Name HShowOptn 0", {"Name H", "Show", "Optn 0"}},
      {u"Name MrShowShowOptn 0", {"Name MrShow", "Show", "Optn 0"}},
      {u"Name BobPutU 60EndG", {"Name Bob", "PutU 60", "EndG"}},
      {u"StTn 0PutU 60DecSDecSLose", {"StTn 0", "PutU 60", "DecS", "DecS", "Lose"}},
      // The cost of having no delimiter: a keyword with its blank inside a
      // name starts a new message.
      {u"Name Bob Optn 1", {"Name Bob ", "Optn 1"}},
  };
  for (const Case& c : cases) {
    const SplitRead split = SplitMessages(c.read);
    EXPECT_THAT(split.messages, ElementsAreArray(c.messages))
        << QString::fromUtf16(c.read).toStdString();
    EXPECT_TRUE(split.ignored.isEmpty());
    EXPECT_TRUE(split.incomplete.isEmpty());
  }

  const SplitRead unknown = SplitMessages(u"Optn 1XYZShow");
  EXPECT_THAT(unknown.messages, ElementsAre("Optn 1"));
  EXPECT_EQ(unknown.ignored, "XYZShow");
}

TEST(MessageReader, CarriesCutOffBeginningsOverToTheNextRead) {
  // A connection's first reads, cut by TCP in awkward places: inside a
  // keyword, after a keyword, after its blank, inside a two-byte character.
  const QByteArray name = EncodeText(u"太郎");
  MessageReader reader;
  EXPECT_THAT(reader.Read("Na"), ElementsAre());
  EXPECT_THAT(reader.Read("me"), ElementsAre());
  EXPECT_THAT(reader.Read(" " + name.left(1)), ElementsAre());
  EXPECT_THAT(reader.Read(name.mid(1) + "ShowOptn 0PutU "),
              ElementsAre("Name 太郎", "Show", "Optn 0"));
  EXPECT_THAT(reader.Read("60PutW"), ElementsAre("PutU 60"));
  EXPECT_THAT(reader.Read(" 5Op"), ElementsAre("PutW 5"));
  EXPECT_THAT(reader.Read("t2 1LimS"), ElementsAre("Opt2 1"));
  EXPECT_THAT(reader.Read(" 10"), ElementsAre("LimS 10"));
  EXPECT_THAT(reader.Read("HelloEndG"), ElementsAre());  // no keyword: the read is dropped
  EXPECT_THAT(reader.Read("EndG"), ElementsAre("EndG"));

  reader.Reset();
  EXPECT_THAT(reader.Read("Pu"), ElementsAre());
  reader.Reset();
  EXPECT_THAT(reader.Read("tU 5Show"), ElementsAre());  // the old start is gone
}

TEST(NameTravelsWhole, RefusesNamesThatAReceiverWouldCut) {
  EXPECT_TRUE(NameTravelsWhole(u"太郎"));
  EXPECT_TRUE(NameTravelsWhole(u"ShowTime"));
  EXPECT_TRUE(NameTravelsWhole(u"Show"));
  EXPECT_TRUE(NameTravelsWhole(u"MrShow"));
  EXPECT_TRUE(NameTravelsWhole(u"MrEndG"));
  EXPECT_FALSE(NameTravelsWhole(u""));
  EXPECT_FALSE(NameTravelsWhole(u"Mr PutU 1"));
  EXPECT_FALSE(NameTravelsWhole(u"Mr ShowLimS 5"));
}

TEST(TextCodec, WritesCodePage932AsJapaneseWindowsDoes) {
  EXPECT_EQ(EncodeText(u"太郎"), "\x91\xBE\x98\x59");
  EXPECT_EQ(DecodeText("\x91\xBE\x98\x59"), u"太郎");
  EXPECT_EQ(EncodeText(u"\\~\uFF5E\u2460"), "\\~\x81\x60\x87\x40");  // Windows's own mappings
  EXPECT_EQ(EncodeText(u"a\U0001F600b한"), "a?b?");

  EXPECT_TRUE(FitsCodePage932(u"太郎 Bob ①"));
  EXPECT_FALSE(FitsCodePage932(u"\U0001F600"));
  EXPECT_FALSE(FitsCodePage932(u"한"));
  EXPECT_FALSE(FitsCodePage932(u"\u301C"));  // the wave dash Windows does not map
}

}  // namespace
}  // namespace vexa::net
