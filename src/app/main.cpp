// yomibon [FILE | URL]: the reader window.
#include <QApplication>
#include <QDBusConnection>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <thread>

#include "app/application.h"
#include "app/main_window.h"
#include "app/qt_translations.h"
#include "app/quit_signals.h"
#include "app/startup_timing.h"
#include "platform/font_match.h"
#include "platform/heap_tuning.h"

namespace {

constexpr const char* kHelp =
    "usage: yomibon [FILE | URL]\n"
    "       yomibon --help | --version\n"
    "Opens FILE or URL in the reader window: a text in Aozora Bunko notation, an XHTML or\n"
    "HTML page, a ZIP, LHA or 7z archive holding one, or a .siori bookmark file. Without\n"
    "one, the text last read opens (the bundled sample on the first start).\n"
    "Qt's own options (-platform, -style, ...) are accepted too. See yomibon(1).\n";

// --help and --version are answered before a display is needed; false when neither is given.
bool AnswersAlone(int argc, char** argv) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kHelp, stdout);
            return true;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("yomibon %s\n", YOMIBON_VERSION);
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (AnswersAlone(argc, argv)) return 0;
    Yomibon::TuneHeap();
    auto& timing = Yomibon::CYbStartupTiming::Instance();
    timing.mark(Yomibon::CYbStartupTiming::MAIN);
    // Qt uses the same font configuration; it must not be handed back under Qt's feet when
    // the display goes away and Qt ends the process.
    Yomibon::SetFontConfigReleasedAtExit(false);
    // The font configuration is read on the second core while Qt connects to the display;
    // Qt's font database and the page canvas both start from it.
    std::thread fontConfig(Yomibon::PrepareFontConfig);
    QApplication qt(argc, argv);
    fontConfig.join();
    QApplication::setApplicationName(QStringLiteral("Yomibon"));
    Yomibon::InstallQtTranslations(qt);
    timing.mark(Yomibon::CYbStartupTiming::QT_READY);
    // The whole command line is one path or URL; Qt has taken its own options out of it.
    QStringList args = QApplication::arguments();
    args.removeFirst();
    if (!args.isEmpty() && args.first() == QLatin1String("--")) {
        args.removeFirst();
    } else if (!args.isEmpty() && args.first().size() > 1 && args.first().startsWith('-')) {
        std::fprintf(stderr, "yomibon: unknown option '%s' (see 'yomibon --help')\n",
                     args.first().toLocal8Bit().constData());
        return 2;
    }
    std::u16string commandLine = args.join(QLatin1Char(' ')).toStdU16String();
    // The menu bar and the accessibility bridge ask the session bus about the desktop when
    // the window is built and shown; the connection, which starts a bus where none runs, is
    // made meanwhile on the second core.
    std::thread sessionBus([] { QDBusConnection::sessionBus(); });
    Yomibon::CYbQuitSignals quitSignals;
    auto& app = Yomibon::CYbApplication::Instance();
    auto window = app.createWindow(commandLine);
    sessionBus.join();
    timing.mark(Yomibon::CYbStartupTiming::WINDOW_SHOWN);
    return app.run(std::move(window));
}
