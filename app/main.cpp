// The program's entry point: answers --help and --version without a window,
// refuses to start without a graphical session, and otherwise runs one main
// window started by its Main.

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/window/form1.h"
#include "app/window/language.h"
#include "app/window/program_setup.h"
#include "net/invitation_link.h"

namespace {

struct CommandLine {
  QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                          QStringLiteral("Show this help and exit.")};
  QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                             QStringLiteral("Show the program's version and exit.")};
  QCommandLineOption language{
      QStringLiteral("language"),
      QStringLiteral("The language of the windows for this run: ja (Japanese) or en (English); "
                     "without it, the choice of the menu, or at first the desktop's language "
                     "(Japanese for a Japanese locale, English for any other)."),
      QStringLiteral("ja|en")};
  QCommandLineParser parser;

  CommandLine() {
    parser.setApplicationDescription(
        QStringLiteral("Vexa with Online: a board game for two on an 11 x 11 board. Four pieces on "
                       "the corners of a square win.\nPlay against the computer, two at one "
                       "machine, or two machines over TCP."));
    // "-platform" is one unknown option, not the short options p, l, a ...;
    // so Qt's own options never read as -h or -v.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(language);
    parser.addPositionalArgument(
        QStringLiteral("FILE | link"),
        QStringLiteral("A game record (a path or a file:// URL): shown in its replay. Or an "
                       "invitation, vexa://HOST:PORT (an IPv6 address in brackets): starts in "
                       "\"VS Online\" and joins that host."),
        QStringLiteral("[FILE | vexa://HOST:PORT]"));
  }
};

// --help and --version, answered on standard output before anything needs a
// display. Qt's own options (-platform, -style ...) are unknown here and
// left for QApplication, which removes them. Returns the exit status when
// the program has answered.
std::optional<int> AnswerInformationOptions(int argc, char** argv) {
  const QCoreApplication application(argc, argv);
  CommandLine command_line;
  command_line.parser.parse(QCoreApplication::arguments());
  if (command_line.parser.isSet(command_line.help)) {
    std::fputs(qPrintable(command_line.parser.helpText()), stdout);
    return EXIT_SUCCESS;
  }
  if (command_line.parser.isSet(command_line.version)) {
    std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                qPrintable(QCoreApplication::applicationVersion()));
    return EXIT_SUCCESS;
  }
  return std::nullopt;
}

// Whether a window can be opened at all. A platform named on the command
// line or in QT_QPA_PLATFORM (offscreen, vnc ...) is taken at its word, and
// so is an X display named with -display;
// otherwise an X or Wayland session has to be named in the environment, or
// Qt would abort with advice about reinstalling.
bool HasGraphicalSession(int argc, char** argv) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
  for (int i = 1; i < argc; ++i) {
    for (const char* option : {"-platform", "--platform", "-display", "--display"}) {
      if (qstrcmp(argv[i], option) == 0) return true;
    }
  }
  return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
         !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
  Q_UNUSED(argc);
  Q_UNUSED(argv);
  return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("vexa"));
  QCoreApplication::setApplicationVersion(QStringLiteral(VEXA_VERSION));
  if (const auto status = AnswerInformationOptions(argc, argv)) return *status;
  if (!HasGraphicalSession(argc, argv)) {
    std::fputs(
        "vexa: no graphical session (neither DISPLAY nor WAYLAND_DISPLAY is set); "
        "start it from a desktop session\n",
        stderr);
    return EXIT_FAILURE;
  }

  QApplication application(argc, argv);
  // What is left once Qt has taken its own options: anything else is an
  // error, told on standard error with a non-zero status.
  CommandLine command_line;
  command_line.parser.process(application);
  // One invitation link may follow ("vexa vexa://HOST:PORT", as a browser
  // starts the program); a bad one is told and the program starts as usual.
  QStringList arguments = command_line.parser.positionalArguments();
  std::optional<vexa::net::InvitationLink> link;
  if (arguments.size() == 1 && vexa::net::LooksLikeInvitationLink(arguments.constFirst())) {
    QString error;
    link = vexa::net::ParseInvitationLink(arguments.constFirst(), error);
    if (!link) {
      std::fprintf(stderr, "vexa: invitation link refused: %s\n", qPrintable(error));
    }
    arguments.clear();
  }
  // Or one game record, as a path or as the file manager's file:// URL.
  QString record;
  if (arguments.size() == 1) {
    const QUrl url(arguments.constFirst());
    record = url.isLocalFile() ? url.toLocalFile() : arguments.constFirst();
    if (!QFileInfo(record).isFile()) {
      std::fprintf(stderr, "vexa: no record file '%s'; see vexa --help\n", qPrintable(record));
      return EXIT_FAILURE;
    }
    arguments.clear();
  }
  if (!arguments.isEmpty()) {
    std::fprintf(stderr, "vexa: unexpected argument '%s'; see vexa --help\n",
                 qPrintable(arguments.constFirst()));
    return EXIT_FAILURE;
  }
  if (command_line.parser.isSet(command_line.language)) {
    const QString code = command_line.parser.value(command_line.language);
    const auto language = vexa::app::LanguageNamed(code);
    if (!language) {
      std::fprintf(stderr, "vexa: unknown language '%s'; use ja or en\n", qPrintable(code));
      return EXIT_FAILURE;
    }
    vexa::app::SetLanguageOverride(language);
  }
  vexa::app::PrepareApplication(application);

  // The preferences (the language) are the user's own.
  vexa::app::Form1 form1(
      {QApplication::applicationDirPath(),
       QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), QString()},
      vexa::SeedFromClock());
  if (link) form1.JoinWhenReady(link->host, link->port);
  if (!record.isEmpty()) form1.OpenRecordWhenReady(record);
  form1.Start(form1.Main());
  return QApplication::exec();
}
