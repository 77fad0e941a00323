// With YOMIBON_TIMING=1 in the environment the window tells on standard error, once, how long
// it took from the program's start to the first spread of a text painted, phase by phase,
// and later how long the arrangement of the whole text took. Quiet otherwise. A launcher
// that puts the wall clock (ns) of its exec in YOMIBON_TIMING_EXEC_NS gets the time before
// main measured from it rather than from the kernel's coarse start time of the process.
#pragma once

#include <chrono>

#include "text/txt_document.h"

namespace Yomibon {

class CYbStartupTiming {
  public:
    // The open ends once the lines of the first spread are set; the spread is then drawn into
    // the canvas and painted on the window.
    enum Mark { MAIN, QT_READY, WINDOW_SHOWN, OPEN_BEGIN, OPEN_END, DRAWN, MARK_COUNT };

    static CYbStartupTiming& Instance();
    bool enabled() const { return enabled_; }

    void mark(Mark which);
    // The phases of the load that leads to the first spread.
    void loaded(const CYbTxtDocument::LoadTimes& times);
    // A spread of a text was painted: the report, the first time only.
    void spreadPainted();
    // The whole text is arranged: its line, once, with or after the report.
    void arrangedAll();

  private:
    using Clock = std::chrono::steady_clock;
    CYbStartupTiming();
    double msAt(Mark which) const;
    double msNow() const;
    void printArranged() const;

    bool enabled_ = false;
    bool reported_ = false;
    bool arrangedReported_ = false;
    double beforeMainMs_ = 0;  // from exec to the first mark, as the kernel counts it
    Clock::time_point origin_;
    Clock::time_point marks_[MARK_COUNT];
    bool marked_[MARK_COUNT] = {};
    CYbTxtDocument::LoadTimes load_;
    double reportMs_ = 0;
    double arrangedMs_ = -1;
};

}  // namespace Yomibon
