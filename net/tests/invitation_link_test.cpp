#include "net/invitation_link.h"

#include <gtest/gtest.h>

#include "qt_print.h"

namespace vexa::net {
namespace {

TEST(InvitationLink, ReadsNamesAddressesAndBracketedIpv6AndMakesTheSameLinkAgain) {
  const struct {
    const char* text;
    const char* host;
    int port;
  } good[] = {{"vexa://192.0.2.7:36150", "192.0.2.7", 36150},
              {"VEXA://game-pc.local:40000/", "game-pc.local", 40000},
              {"vexa://[2001:db8::1]:1", "2001:db8::1", 1},
              {"vexa://h:65534", "h", 65534}};
  for (const auto& g : good) {
    QString error;
    const auto link = ParseInvitationLink(QString::fromLatin1(g.text), error);
    ASSERT_TRUE(link) << g.text << ": " << error.toStdString();
    EXPECT_EQ(link->host, QString::fromLatin1(g.host));
    EXPECT_EQ(link->port, g.port);
    const auto again = ParseInvitationLink(MakeInvitationLink(link->host, link->port), error);
    ASSERT_TRUE(again) << g.text;
    EXPECT_EQ(again->host, link->host);
  }
  EXPECT_EQ(MakeInvitationLink(QStringLiteral("2001:db8::1"), 36150),
            QStringLiteral("vexa://[2001:db8::1]:36150"));
}

TEST(InvitationLink, RefusesEachFaultWithItsReason) {
  const struct {
    const char* text;
    const char* reason;
  } bad[] = {{"http://host:36150", "does not begin with vexa://"},
             {"vexa://", "host is missing"},
             {"vexa://:36150", "host is missing"},
             {"vexa://host", "port is missing"},
             {"vexa://host:", "port is missing"},
             {"vexa://host:0", "from 1 to 65534"},
             {"vexa://host:65535", "from 1 to 65534"},
             {"vexa://host:99999999999", "from 1 to 65534"},
             {"vexa://host:+80", "from 1 to 65534"},
             {"vexa://2001:db8::1:36150", "must stand in brackets"},
             {"vexa://[2001:db8::1:36150", "no closing bracket"},
             {"vexa://[192.0.2.7]:36150", "not an IPv6 address"},
             {"vexa://[::1]36150", "port is missing"},
             {"vexa://a/b:36150", "no host has"},
             {"vexa://ホスト:36150", "no host has"}};
  for (const auto& b : bad) {
    QString error;
    EXPECT_FALSE(ParseInvitationLink(QString::fromUtf8(b.text), error)) << b.text;
    EXPECT_TRUE(error.contains(QString::fromLatin1(b.reason)))
        << b.text << ": " << error.toStdString();
  }
  QString error;
  EXPECT_FALSE(ParseInvitationLink(
      QStringLiteral("vexa://") + QString(300, u'a') + QStringLiteral(":1"), error));
  EXPECT_TRUE(LooksLikeInvitationLink(QStringLiteral("Vexa:junk")));
  EXPECT_FALSE(LooksLikeInvitationLink(QStringLiteral("--language")));
}

}  // namespace
}  // namespace vexa::net
