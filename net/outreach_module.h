#pragma once

// The clients of the Avahi daemon and of the router (avahi-client,
// miniupnpc, libnatpmp) are built as a module of their own, loaded the
// first time a game is hosted or the list of games opens: most runs never
// go online, and a program that links them loads them, and what they pull
// in, before its window shows, every time. A module that is missing or from
// another build leaves the program as on a machine without daemon or
// router: the list says no daemon answers, the host's dialog says to
// forward the ports by hand.

#include <QString>
#include <memory>

#include "net/game_discovery.h"
#include "net/port_mapper.h"

namespace vexa::net {

// Raised whenever what crosses between the program and the module changes
// (the two interfaces, the entry points), so that a module left over from
// another version is refused instead of called.
inline constexpr int kOutreachModuleAbi = 1;

class OutreachModule {
 public:
  // The module installed with this program, or built beside it when the
  // program runs from its build tree.
  static QString DefaultPath();

  // Loads the module at `path` (once per process; it stays loaded).
  explicit OutreachModule(const QString& path = DefaultPath());

  bool Loaded() const { return new_discovery_ != nullptr; }
  // Why it was not loaded.
  QString Problem() const { return problem_; }

  // The real clients, or stand-ins that answer as without daemon and router.
  std::unique_ptr<GameDiscovery> MakeDiscovery() const;
  std::unique_ptr<PortMapper> MakePortMapper() const;

 private:
  void Load(const QString& path);

  GameDiscovery* (*new_discovery_)() = nullptr;
  PortMapper* (*new_port_mapper_)() = nullptr;
  QString problem_;
};

}  // namespace vexa::net
