#include "net/chat_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/text_codec.h"
#include "qt_print.h"

namespace vexa::net {
namespace {

using ::testing::ElementsAre;

TEST(ChatLine, IsNameSeparatorText) {
  EXPECT_EQ(ChatLine(QStringLiteral("太郎"), QStringLiteral("よろしく")), u"太郎 >> よろしく");
}

TEST(ChatLine, MergedLinesSplitWhereThePeersNameBeginsALine) {
  const QString bob = QStringLiteral("Bob");
  EXPECT_THAT(SplitChatLines(u"Bob >> hiBob >> how are you", bob),
              ElementsAre("Bob >> hi", "Bob >> how are you"));
  EXPECT_THAT(SplitChatLines(u"Bob >> Bob >> hi", bob), ElementsAre("Bob >> Bob >> hi"));
  EXPECT_THAT(SplitChatLines(u"Bob >> hi", QString()), ElementsAre("Bob >> hi"));
  EXPECT_THAT(SplitChatLines(u"", bob), ElementsAre());
  // The rest of a line cut by TCP comes first, on its own.
  EXPECT_THAT(SplitChatLines(u"llo!Bob >> x", bob), ElementsAre("llo!", "Bob >> x"));
}

TEST(ChatReader, DecodesAcrossReadsAndSplitsByTheCurrentPeer) {
  const QByteArray line = EncodeText(ChatLine(QStringLiteral("太郎"), QStringLiteral("はい")));
  ChatReader reader;
  reader.SetPeerName(QStringLiteral("太郎"));
  EXPECT_THAT(reader.Read(line + line.left(1)), ElementsAre("太郎 >> はい"));
  EXPECT_THAT(reader.Read(line.mid(1) + line), ElementsAre("太郎 >> はい", "太郎 >> はい"));
}

}  // namespace
}  // namespace vexa::net
