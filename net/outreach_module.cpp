#include "net/outreach_module.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QMetaObject>
#include <QtGlobal>

namespace vexa::net {

namespace {

// As AvahiDiscovery without a daemon.
class AbsentDiscovery final : public GameDiscovery {
 public:
  void Announce(int /*port*/, const QString& /*player*/) override { emit Unavailable(); }
  void Withdraw() override {}
  void StartBrowsing() override { emit Unavailable(); }
  void StopBrowsing() override {}
};

// As RouterPortMapper when no gateway answers: the answer comes later, and
// not at all after Close or another Open.
class AbsentPortMapper final : public PortMapper {
 public:
  void Open(int game_port) override {
    const int request = ++request_;
    QMetaObject::invokeMethod(
        this,
        [this, request, game_port] {
          if (request != request_) return;
          PortMapping answer;
          answer.asked_port = game_port;
          emit Answered(answer);
        },
        Qt::QueuedConnection);
  }
  void Close() override { ++request_; }

 private:
  int request_ = 0;
};

}  // namespace

QString OutreachModule::DefaultPath() {
  const QString program_dir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
  const QString build_dir = QFileInfo(QStringLiteral(VEXA_BUILD_DIR)).canonicalFilePath();
  // Only a program of the build tree looks there: an installed one never
  // loads code from wherever its build once was.
  if (!build_dir.isEmpty() &&
      (program_dir == build_dir || program_dir.startsWith(build_dir + u'/'))) {
    return QStringLiteral(VEXA_OUTREACH_MODULE_BUILT);
  }
  return QDir::cleanPath(program_dir + u'/' + QStringLiteral(VEXA_OUTREACH_MODULE_INSTALLED));
}

OutreachModule::OutreachModule(const QString& path) {
  Load(path);
  if (!Loaded()) {
    qWarning("vexa: no games on this network and no router ports: %s", qPrintable(problem_));
  }
}

void OutreachModule::Load(const QString& path) {
  QLibrary library(path);
  // Every symbol bound now, so that a module that does not fit this program
  // fails here, not in the middle of a game.
  library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
  if (!library.load()) {
    problem_ = library.errorString();
    return;
  }
  const auto abi = reinterpret_cast<int (*)()>(library.resolve("vexa_outreach_abi"));
  const auto new_discovery =
      reinterpret_cast<GameDiscovery* (*)()>(library.resolve("vexa_outreach_new_discovery"));
  const auto new_port_mapper =
      reinterpret_cast<PortMapper* (*)()>(library.resolve("vexa_outreach_new_port_mapper"));
  if (abi == nullptr || new_discovery == nullptr || new_port_mapper == nullptr) {
    problem_ = path + QStringLiteral(": not a module of this program");
    return;
  }
  if (abi() != kOutreachModuleAbi) {
    problem_ = path + QStringLiteral(": a module of another version (%1, this program needs %2)")
                          .arg(abi())
                          .arg(kOutreachModuleAbi);
    return;
  }
  // The QLibrary goes, the module stays: the objects it makes may outlive
  // any one owner.
  new_discovery_ = new_discovery;
  new_port_mapper_ = new_port_mapper;
}

std::unique_ptr<GameDiscovery> OutreachModule::MakeDiscovery() const {
  if (!Loaded()) return std::make_unique<AbsentDiscovery>();
  return std::unique_ptr<GameDiscovery>(new_discovery_());
}

std::unique_ptr<PortMapper> OutreachModule::MakePortMapper() const {
  if (!Loaded()) return std::make_unique<AbsentPortMapper>();
  return std::unique_ptr<PortMapper>(new_port_mapper_());
}

}  // namespace vexa::net
