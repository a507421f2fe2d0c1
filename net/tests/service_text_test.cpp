#include "net/service_text.h"

#include <gtest/gtest.h>

#include "qt_print.h"

namespace vexa::net {
namespace {

TEST(ServiceText, ReadsWhatCanBeReadOfADamagedRecord) {
  // Not UTF-8, a control character, an upper-case key, an item without
  // "=", a second "name" that does not count, a value far too long.
  const ServiceText text = ReadServiceText({QByteArray("name=\xff\xfeJiro\x01", 12), "junk",
                                            "NAME=second", "ver=" + QByteArray(300, 'v')});
  EXPECT_EQ(text.player, QStringLiteral("\uFFFD\uFFFDJiro"));
  EXPECT_EQ(text.version, QString(kServiceTextLimit, u'v'));
  EXPECT_EQ(ReadServiceText({"NAME=Hanako"}).player, QStringLiteral("Hanako"));
  const ServiceText empty = ReadServiceText({});
  EXPECT_TRUE(empty.player.isEmpty() && empty.version.isEmpty());
  // A character beyond the BMP cut at the limit is dropped whole.
  const QByteArray emoji = "\xF0\x9F\x8E\xB2";
  const QString cut = PrintableText(QByteArray(kServiceTextLimit - 1, 'a') + emoji + emoji);
  EXPECT_EQ(cut, QString(kServiceTextLimit - 1, u'a'));
}

TEST(ServiceText, TheAnnouncementCarriesTheNameWithinDnsLimits) {
  EXPECT_EQ(MakeServiceText(QStringLiteral("太郎"), QStringLiteral("1.2")),
            (QList<QByteArray>{"name=太郎", "ver=1.2"}));
  // 22 characters of three bytes: the 22nd would pass 63 bytes.
  const QString long_name(22, u'あ');
  EXPECT_EQ(ServiceName(long_name), QString(21, u'あ').toUtf8());
  EXPECT_EQ(ServiceName(QString()), QByteArray("Vexa"));
  EXPECT_EQ(ReadServiceText(MakeServiceText(long_name, QStringLiteral("1.2"))).player,
            QString(21, u'あ'));
}

}  // namespace
}  // namespace vexa::net
