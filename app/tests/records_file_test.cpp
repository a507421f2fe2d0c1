#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>

#include "app/records/records_file.h"

namespace vexa::app {
namespace {

using ::testing::ElementsAre;

Records Sample(const char* name, int games, int wins, int losses) {
  Records r;
  r.PlayerName = name;
  r.GamesPlayed = games;
  r.Wins = wins;
  r.Losses = losses;
  return r;
}

TEST(RecordsFile, WritesFourLinesOfNameAndBlankFramedCounts) {
  EXPECT_EQ(WriteRecords(Sample("Taro", 12, 7, 4)), QByteArray("Taro\r\n 12 \r\n 7 \r\n 4 \r\n"));
  // A Japanese name in code page 932, as a Japanese Windows system writes it.
  EXPECT_EQ(WriteRecords(Sample("太郎", 0, 0, 0)),
            QByteArray("\x91\xBE\x98\x59\r\n 0 \r\n 0 \r\n 0 \r\n"));
  EXPECT_EQ(WriteRecords(Sample("a", -1, 0, 0)), QByteArray("a\r\n-1 \r\n 0 \r\n 0 \r\n"));
}

TEST(RecordsFile, ReadsWhatOtherWritersLeave) {
  Records r;
  ASSERT_TRUE(ReadRecords("\x91\xBE\x98\x59\r\n12\r\n7\r\n4\r\n", r));
  EXPECT_EQ(r.PlayerName, "太郎");
  EXPECT_EQ(r.GamesPlayed, 12);
  EXPECT_EQ(r.Wins, 7);
  EXPECT_EQ(r.Losses, 4);

  // Commas separate fields too; blanks before a field are skipped; a
  // quoted name keeps its commas and blanks; Unix line ends work.
  ASSERT_TRUE(ReadRecords("\"  Ann, B\"\n  3 ,  2\n1", r));
  EXPECT_EQ(r.PlayerName, "  Ann, B");
  EXPECT_EQ(r.GamesPlayed, 3);
  EXPECT_EQ(r.Wins, 2);
  EXPECT_EQ(r.Losses, 1);
}

TEST(RecordsFile, AShortOrBrokenFileKeepsWhatWasReadBeforeTheFault) {
  Records r = Sample("old", 5, 5, 5);
  EXPECT_FALSE(ReadRecords("Hanako\r\n 9 \r\n", r));
  EXPECT_EQ(r.PlayerName, "Hanako");
  EXPECT_EQ(r.GamesPlayed, 9);
  EXPECT_EQ(r.Wins, 5);
  EXPECT_EQ(r.Losses, 5);

  r = Sample("old", 5, 5, 5);
  EXPECT_FALSE(ReadRecords("Jiro\r\n 1 \r\n many \r\n 2 \r\n", r));
  EXPECT_EQ(r.GamesPlayed, 1);
  EXPECT_EQ(r.Wins, 5);
  EXPECT_FALSE(ReadRecords("", r));

  // A count beyond 32 bits is refused, not wrapped round to a small one.
  r = Sample("old", 5, 5, 5);
  EXPECT_FALSE(ReadRecords("Jiro\r\n 4294967297 \r\n 1 \r\n 1 \r\n", r));
  EXPECT_EQ(r.GamesPlayed, 5);
  EXPECT_FALSE(ReadRecords("Jiro\r\n 3 \r\n 2147483648 \r\n 1 \r\n", r));
  EXPECT_EQ(r.Wins, 5);
}

TEST(RecordsFile, EveryStorableNameReadsBackUnchanged) {
  for (const char* name : {"Taro", "", "   ", " lead", "a,b", "trail ", "say \"hi\"", "ｶﾅ①～"}) {
    ASSERT_NE(CheckName(QString::fromUtf8(name)), NameFit::Refused) << name;
    Records back;
    ASSERT_TRUE(ReadRecords(WriteRecords(Sample(name, 3, 2, 1)), back)) << name;
    EXPECT_EQ(back.PlayerName, name);
    EXPECT_EQ(back.GamesPlayed, 3);
    EXPECT_EQ(back.Losses, 1);
  }
  EXPECT_EQ(CheckName(QStringLiteral("Taro")), NameFit::Plain);
  EXPECT_EQ(CheckName(QStringLiteral("a,b")), NameFit::Quoted);
  for (const QString& name :
       {QStringLiteral("\"quoted"), QStringLiteral("two\nlines"), QStringLiteral("a,\"b\""),
        QStringLiteral("emoji 😀"), QStringLiteral("한국")}) {
    EXPECT_EQ(CheckName(name), NameFit::Refused) << name.toStdString();
  }
}

TEST(RecordsFile, RateCaptionsRoundHalfToEvenInTheLocalesNotation) {
  const QLocale c(QLocale::C);
  const struct {
    int games, wins;
    const char* rate;
  } cases[] = {{12, 7, "勝率 58.3 %"}, {3, 1, "勝率 33.3 %"}, {16, 1, "勝率 6.2 %"},
               {8, 1, "勝率 12.5 %"},  {10, 5, "勝率 50 %"},  {200, 1, "勝率 0.5 %"},
               {0, 0, "勝率 0 %"},     {1, 1, "勝率 100 %"},  {7, 0, "勝率 0 %"}};
  for (const auto& k : cases) {
    Records r = Sample("x", k.games, k.wins, 0);
    EXPECT_EQ(RecordCaptions(r, c)[4].toStdString(), k.rate) << k.games << " " << k.wins;
  }
  Records r = Sample("x", 12, 7, 4);
  r.Draws = 0;
  EXPECT_THAT(RecordCaptions(r, QLocale(QLocale::German)),
              ElementsAre("12 戦", "7 勝", "4 負", "0 引き分け", "勝率 58,3 %"));
}

TEST(RecordsFile, AnInstalledProgramKeepsItsRecordsInTheDataFolder) {
  QTemporaryDir program, data;
  const QString program_config = program.filePath(QStringLiteral("Config"));
  const QString data_config = data.filePath(QStringLiteral("Config"));
  const RecordsLocation writable = LocateRecords(program.path(), data.path(), true);
  EXPECT_EQ(writable.read_path, program_config);
  EXPECT_EQ(writable.write_path, program_config);

  // Read-only program folder: its file is read until the data folder has one.
  const RecordsLocation first = LocateRecords(program.path(), data.path(), false);
  EXPECT_EQ(first.read_path, program_config);
  EXPECT_EQ(first.write_path, data_config);
  ASSERT_TRUE(SaveRecordsFile(first.write_path, Sample("Taro", 1, 0, 0)));
  EXPECT_EQ(LocateRecords(program.path(), data.path(), false).read_path, data_config);
}

TEST(RecordsFile, ASaveThatCannotBeDoneSaysSo) {
  QTemporaryDir folder;
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Config")));
  EXPECT_FALSE(SaveRecordsFile(folder.filePath(QStringLiteral("Config")), Sample("T", 1, 1, 0)));
}

}  // namespace
}  // namespace vexa::app
