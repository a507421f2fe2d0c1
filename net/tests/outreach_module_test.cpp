// The module with the Avahi and router clients, loaded as the window loads
// it on first use, and the stand-ins when it cannot be.

#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>
#include <vector>

#include "net/outreach_module.h"

namespace vexa::net {
namespace {

TEST(OutreachModule, BuiltBesideTheProgramItLoadsAndItsClientsShareTheProgramsInterfaces) {
  const OutreachModule module;
  ASSERT_TRUE(module.Loaded()) << module.Problem().toStdString();
  const std::unique_ptr<GameDiscovery> discovery = module.MakeDiscovery();
  const std::unique_ptr<PortMapper> mapper = module.MakePortMapper();
  EXPECT_STREQ(discovery->metaObject()->className(), "vexa::net::AvahiDiscovery");
  EXPECT_STREQ(mapper->metaObject()->className(), "vexa::net::RouterPortMapper");
  // One meta-object per interface: with a copy of its own in the module the
  // window's connections to the signals would rest on luck.
  EXPECT_EQ(discovery->metaObject()->superClass(), &GameDiscovery::staticMetaObject);
  EXPECT_EQ(mapper->metaObject()->superClass(), &PortMapper::staticMetaObject);
}

TEST(OutreachModule, MissingOrForeignItLeavesTheProgramAsWithoutDaemonAndRouter) {
  const OutreachModule foreign(QStringLiteral("libz.so.1"));
  EXPECT_FALSE(foreign.Loaded());
  EXPECT_TRUE(foreign.Problem().contains(QStringLiteral("not a module")))
      << foreign.Problem().toStdString();
  const OutreachModule missing(QStringLiteral("/nonexistent/vexa-outreach.so"));
  ASSERT_FALSE(missing.Loaded());
  EXPECT_FALSE(missing.Problem().isEmpty());

  const std::unique_ptr<GameDiscovery> discovery = missing.MakeDiscovery();
  int unavailable = 0;
  QObject::connect(discovery.get(), &GameDiscovery::Unavailable, [&] { ++unavailable; });
  discovery->StartBrowsing();
  discovery->Announce(36150, QStringLiteral("Taro"));
  EXPECT_EQ(unavailable, 2);

  // One answer, to the last Open, unmapped; none after Close.
  const std::unique_ptr<PortMapper> mapper = missing.MakePortMapper();
  std::vector<PortMapping> answers;
  QObject::connect(mapper.get(), &PortMapper::Answered,
                   [&](const PortMapping& answer) { answers.push_back(answer); });
  mapper->Open(36150);
  mapper->Open(36152);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !answers.empty(); }, 5000));
  mapper->Open(36154);
  mapper->Close();
  QTest::qWait(50);
  ASSERT_EQ(answers.size(), 1U);
  EXPECT_FALSE(answers[0].mapped);
  EXPECT_EQ(answers[0].asked_port, 36152);
}

}  // namespace
}  // namespace vexa::net
