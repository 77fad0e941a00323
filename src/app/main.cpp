// yomibon [PATH | URL]: the reader window.
#include <QApplication>
#include <QStringList>

#include "app/application.h"
#include "app/main_window.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Yomibon"));
    // The whole command line is one path or URL.
    QStringList args = QApplication::arguments();
    args.removeFirst();
    std::u16string commandLine = args.join(QLatin1Char(' ')).toStdU16String();
    auto& app = Yomibon::CYbApplication::Instance();
    auto window = app.createWindow(commandLine);
    return app.run(std::move(window));
}
