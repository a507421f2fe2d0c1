// The lobby's payloads: what a host announces and a guest is invited with
// reads back whole; what a stranger could send instead is ignored.

#include <gtest/gtest.h>

#include <QHostAddress>
#include <random>

#include "lobby/lobby_payload.h"

namespace vexa::lobby {
namespace {

constexpr qint64 kNow = 1'800'000'000;
const QString kJid = QStringLiteral("taro@lobby.test/vexa");

TEST(LobbyPayloadTest, WhatIsWrittenReadsBack) {
  const GameAnnouncement excite{10, QStringLiteral("1.2"), kNow - 30};
  EXPECT_EQ(ReadGameAnnouncement(WriteGameAnnouncement(excite), kNow), excite);
  const GameAnnouncement normal{std::nullopt, QStringLiteral("1.3~rc1"), kNow};
  EXPECT_EQ(ReadGameAnnouncement(WriteGameAnnouncement(normal), kNow), normal);
  // A host whose clock runs ahead has not waited a negative time.
  EXPECT_EQ(ReadGameAnnouncement(WriteGameAnnouncement({{}, "1.2", kNow + 99}), kNow)->opened_at,
            kNow);
  const JoinRequest request{QStringLiteral("1.2"), QStringLiteral("jiro@lobby.test/vexa")};
  EXPECT_EQ(ReadJoinRequest(WriteJoinRequest(request)), request);
  const Invitation invitation{QStringLiteral("11.0.0.21"), 36150,
                              QStringLiteral("taro@lobby.test/x")};
  EXPECT_EQ(ReadInvitation(WriteInvitation(invitation)), invitation);
  EXPECT_EQ(ReadInvitation(WriteInvitation({QStringLiteral("2001:db8::1"), 1, kJid}))->port, 1);
  EXPECT_EQ(ReadRelayRequest(WriteRelayRequest({QStringLiteral("a1b2c3d4e5")}))->sid,
            QStringLiteral("a1b2c3d4e5"));
  EXPECT_EQ(ReadRelayReady(WriteRelayReady({QStringLiteral("a1b2c3d4e5")}))->sid,
            QStringLiteral("a1b2c3d4e5"));
  // As libstrophe hands it over: another prefix, blanks, attributes reordered.
  EXPECT_TRUE(ReadGameAnnouncement(
      u"<v:game xmlns:v='urn:x-vexa:lobby:1' opened='5' version='1.2' mode='normal' > </v:game>",
      kNow));
}

TEST(LobbyPayloadTest, ForeignOrOutOfRangeIsIgnored) {
  const char16_t* announcements[] = {
      u"<game xmlns='urn:x-vexa:lobby:0' mode='normal' version='1.2' opened='1'/>",
      u"<game xmlns='urn:x-vexa:lobby:1' mode='excite' version='1.2' opened='1'/>",
      u"<game xmlns='urn:x-vexa:lobby:1' mode='excite' limit='0' version='1.2' opened='1'/>",
      u"<game xmlns='urn:x-vexa:lobby:1' mode='excite' limit='32768' version='1' opened='1'/>",
      u"<game xmlns='urn:x-vexa:lobby:1' mode='excite' limit='+5' version='1' opened='1'/>",
      u"<game xmlns='urn:x-vexa:lobby:1' mode='normal' version='1 2' opened='1'/>",
      u"<game xmlns='urn:x-vexa:lobby:1' mode='normal' version='12345678901234567' opened='1'/>",
      u"<game xmlns='urn:x-vexa:lobby:1' mode='normal' version='1.2' opened='-1'/>",
      u"<game xmlns='urn:x-vexa:lobby:1' mode='normal' version='1.2' opened='1'><x/></game>",
      u"<game xmlns='urn:x-vexa:lobby:1' mode='normal' version='1.2' opened='1'/><game/>",
      u"<game xmlns='urn:x-vexa:lobby:1' mode='normal' version='1.2' opened='1'>hi</game>",
      u"<!DOCTYPE g [<!ENTITY a 'aaaa'>]><game xmlns='urn:x-vexa:lobby:1' mode='normal' "
      u"version='&a;' opened='1'/>",
      u"<game xmlns='urn:x-vexa:lobby:1' mode='normal' version='1.2' opened='1'",
  };
  for (const char16_t* xml : announcements) {
    EXPECT_FALSE(ReadGameAnnouncement(QStringView(xml), kNow))
        << QString::fromUtf16(xml).toStdString();
  }
  // Longer than any payload of ours.
  QString padded = WriteGameAnnouncement({{}, "1.2", 1});
  padded.insert(padded.indexOf(u"mode"), QString(kMaxPayloadBytes, u' '));
  EXPECT_FALSE(ReadGameAnnouncement(padded, kNow));
  // An invitation names an address, never a host to look up, and a port
  // with room for the chat's beside it.
  EXPECT_FALSE(ReadInvitation(WriteInvitation({QStringLiteral("evil.example"), 1, kJid})));
  EXPECT_FALSE(ReadInvitation(WriteInvitation({QStringLiteral("1.2.3.4"), 65535, kJid})));
  EXPECT_FALSE(
      ReadInvitation(u"<invite xmlns='urn:x-vexa:lobby:1' address='1.2.3.4' jid='a@b/c'/>"));
  // The relay's addresses and session ids: no blanks, bounded.
  EXPECT_FALSE(ReadInvitation(WriteInvitation({QStringLiteral("1.2.3.4"), 5, "taro@lobby.test"})));
  EXPECT_FALSE(ReadJoinRequest(WriteJoinRequest({"1.2", "jiro@lobby.test/a b"})));
  EXPECT_FALSE(ReadRelayRequest(WriteRelayRequest({QStringLiteral("short")})));
  EXPECT_FALSE(ReadRelayRequest(WriteRelayRequest({QStringLiteral("abcdefgh/..")})));
  // One kind is not read as another.
  EXPECT_FALSE(ReadJoinRequest(WriteInvitation({QStringLiteral("1.2.3.4"), 5, kJid})));
  EXPECT_FALSE(ReadRelayReady(WriteRelayRequest({QStringLiteral("a1b2c3d4e5")})));
  EXPECT_TRUE(IsAcceptableNick(u"太郎"));
  EXPECT_FALSE(IsAcceptableNick(u"a\nb"));
  EXPECT_FALSE(IsAcceptableNick(u"\u202Eevil"));
  EXPECT_FALSE(IsAcceptableNick(QString(kMaxNickLength + 1, u'a')));
}

// Mutations of real payloads and random text: no crash, no hang, and
// whatever is accepted keeps within the bounds the readers promise.
TEST(LobbyPayloadTest, MutatedPayloadsNeverBreakTheReaders) {
  const QString seeds[] = {
      WriteGameAnnouncement({20, QStringLiteral("1.2"), kNow}),
      WriteJoinRequest({QStringLiteral("1.2"), kJid}),
      WriteInvitation({QStringLiteral("10.0.1.2"), 36150, kJid}),
      WriteRelayRequest({QStringLiteral("a1b2c3d4e5")}),
  };
  const QString fragments[] = {
      QStringLiteral("<"),         QStringLiteral("/>"),
      QStringLiteral("'"),         QStringLiteral("&amp;"),
      QStringLiteral("&#0;"),      QStringLiteral("<![CDATA["),
      QStringLiteral("xmlns='x'"), QStringLiteral("<?pi?>"),
      QStringLiteral("\xFFFF"),    QStringLiteral("99999999999999999999"),
  };
  std::mt19937 random(29);
  int accepted = 0;
  for (int round = 0; round < 20000; ++round) {
    QString xml = seeds[random() % std::size(seeds)];
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const qsizetype at = xml.isEmpty() ? 0 : static_cast<qsizetype>(random() % xml.size());
      switch (random() % 4) {
        case 0:
          if (!xml.isEmpty()) xml[at] = QChar(static_cast<char16_t>(random() % 0x3000));
          break;
        case 1:
          xml.insert(at, fragments[random() % std::size(fragments)]);
          break;
        case 2:
          xml.remove(at, 1 + static_cast<qsizetype>(random() % 8));
          break;
        default:
          xml.truncate(at);
          break;
      }
    }
    if (const auto game = ReadGameAnnouncement(xml, kNow)) {
      ++accepted;
      ASSERT_LE(game->version.size(), 16);
      ASSERT_LE(game->opened_at, kNow);
      if (game->excite_seconds) {
        ASSERT_TRUE(*game->excite_seconds >= 1 && *game->excite_seconds <= kMaxExciteSeconds);
      }
    }
    if (const auto request = ReadJoinRequest(xml)) {
      ++accepted;
      ASSERT_TRUE(IsAcceptableFullJid(request->jid));
    }
    if (const auto relay = ReadRelayRequest(xml)) {
      ++accepted;
      ASSERT_TRUE(IsAcceptableSid(relay->sid));
    }
    if (const auto invitation = ReadInvitation(xml)) {
      ++accepted;
      ASSERT_FALSE(QHostAddress(invitation->address).isNull());
      ASSERT_TRUE(invitation->port >= 1 && invitation->port <= 65534);
    }
  }
  // The mutations are not all fatal, so the checks above did run.
  EXPECT_GT(accepted, 20);
}

}  // namespace
}  // namespace vexa::lobby
