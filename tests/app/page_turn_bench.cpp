// Measures, offscreen: start-up to the first spread of the sample (window made, text read,
// laid out and painted) and a page turn from the key press to the new spread painted.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "app/page_view.h"
#include "platform/paths.h"
#include "render/page_canvas.h"
#include "settings/txt_param.h"

using namespace Yomibon;

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    QApplication qt(argc, argv);
    CYbTxtParam param;
    param.SetBoolean(u"BookMarkAutoSave", false);
    param.SetBoolean(u"PageFlip", false);
    std::u16string file =
        argc > 1 ? FromFsPath(argv[1]) : FromFsPath(ProgramFolder() / "samples" / "rashomon.txt");
    CYbMainWindow window(param);
    window.resize(1600, 1000);
    window.show();
    [[maybe_unused]] bool exposed = QTest::qWaitForWindowExposed(&window);
    window.initialize(u"");
    window.openPath(file);
    window.view().repaint();
    double startup = double(clock.nsecsElapsed()) / 1e6;

    std::vector<double> turns;
    for (int i = 0; i < 60; ++i) {
        if (window.currentPage() + 2 > window.pageCount()) window.gotoPage(0);
        clock.restart();
        int before = window.currentPage();
        QTest::keyClick(&window.view(), Qt::Key_Left);
        window.view().repaint();
        if (window.currentPage() == before) std::printf("page did not turn\n");
        turns.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(turns.begin(), turns.end());
    clock.restart();
    for (int page = 0; page < window.pageCount(); page += 2)
        window.canvas().drawPage(page);
    std::printf("drawPage alone, second round: %.2f ms a spread\n",
                double(clock.nsecsElapsed()) / 1e6 / ((window.pageCount() + 1) / 2));
    clock.restart();
    for (int page = 0; page < window.pageCount(); page += 2)
        window.canvas().drawPage(page);
    std::printf("drawPage alone: %.2f ms a spread\n",
                double(clock.nsecsElapsed()) / 1e6 / ((window.pageCount() + 1) / 2));
    std::printf(
        "canvas %dx%d; pages %d; start-up to first spread %.1f ms; page turn median %.2f ms, max "
        "%.2f ms\n",
        window.canvas().bitmap().width(), window.canvas().bitmap().height(), window.pageCount(),
        startup, turns[turns.size() / 2], turns.back());
    return 0;
}
