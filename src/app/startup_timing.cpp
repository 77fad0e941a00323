#include "app/startup_timing.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace Yomibon {
namespace {

// Milliseconds since the process was started by exec: the kernel's start time (in clock
// ticks since boot, so to 10 ms) against the boot clock now. 0 when not known.
double MsSinceExec() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    if (!std::getline(stat, line)) return 0;
    // The command name in parentheses may hold spaces; the fields after it are plain.
    size_t close = line.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    // The fields after the command name start at the third; starttime is the 22nd.
    for (int i = 3; i < 22 && fields >> field; ++i) {
    }
    unsigned long long ticks = 0;
    if (!(fields >> ticks)) return 0;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    double nowMs = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
    double startMs = double(ticks) * 1000.0 / double(sysconf(_SC_CLK_TCK));
    return nowMs > startMs ? nowMs - startMs : 0;
}

// Milliseconds since the time a launcher put in YOMIBON_TIMING_EXEC_NS (the wall clock in
// nanoseconds just before it executed the program); -1 without it.
double MsSinceLauncherExec() {
    const char* value = std::getenv("YOMIBON_TIMING_EXEC_NS");
    if (!value || !*value) return -1;
    char* end = nullptr;
    long long execNs = std::strtoll(value, &end, 10);
    if (*end != '\0' || execNs <= 0) return -1;
    timespec wall{};
    clock_gettime(CLOCK_REALTIME, &wall);
    long long nowNs = static_cast<long long>(wall.tv_sec) * 1000000000LL + wall.tv_nsec;
    return nowNs > execNs ? double(nowNs - execNs) / 1e6 : 0;
}

}  // namespace

CYbStartupTiming& CYbStartupTiming::Instance() {
    static CYbStartupTiming timing;
    return timing;
}

CYbStartupTiming::CYbStartupTiming() : origin_(Clock::now()) {
    const char* value = std::getenv("YOMIBON_TIMING");
    enabled_ = value && *value && std::strcmp(value, "0") != 0;
    if (!enabled_) return;
    // The kernel's start time counts in 10 ms ticks from the fork; a launcher's clock is finer.
    beforeMainMs_ = MsSinceLauncherExec();
    if (beforeMainMs_ < 0) beforeMainMs_ = MsSinceExec();
}

void CYbStartupTiming::mark(Mark which) {
    if (!enabled_ || reported_) return;
    marks_[which] = Clock::now();
    marked_[which] = true;
}

void CYbStartupTiming::loaded(const CYbTxtDocument::LoadTimes& times) {
    if (enabled_ && !reported_) load_ = times;
}

double CYbStartupTiming::msNow() const {
    return beforeMainMs_ +
           std::chrono::duration<double, std::milli>(Clock::now() - origin_).count();
}

double CYbStartupTiming::msAt(Mark which) const {
    if (!marked_[which]) return -1;
    return beforeMainMs_ +
           std::chrono::duration<double, std::milli>(marks_[which] - origin_).count();
}

void CYbStartupTiming::spreadPainted() {
    if (!enabled_ || reported_ || !marked_[DRAWN]) return;
    reported_ = true;
    reportMs_ = msNow();
    timespec wall{};
    clock_gettime(CLOCK_REALTIME, &wall);
    const double openMs = msAt(OPEN_END) - msAt(OPEN_BEGIN);
    // A long text opened from its head: the head's load stands for read, decode and parse
    // (the whole text is read on the second thread meanwhile).
    const double loadMs =
        load_.head + load_.read + load_.decode + load_.parse + load_.outline + load_.arrange;
    std::fprintf(
        stderr,
        "yomibon timing: start_to_first_spread_ms=%.1f exec_to_main_ms=%.1f "
        "qt_start_ms=%.1f window_shown_ms=%.1f open_begins_ms=%.1f head_ms=%.1f read_ms=%.1f "
        "decode_ms=%.1f parse_ms=%.1f outline_ms=%.1f arrange_first_ms=%.1f "
        "open_other_ms=%.1f draw_ms=%.1f paint_ms=%.1f first_paint_wall_ns=%lld\n",
        reportMs_, beforeMainMs_, msAt(QT_READY) - msAt(MAIN), msAt(WINDOW_SHOWN) - msAt(QT_READY),
        msAt(OPEN_BEGIN), load_.head, load_.read, load_.decode, load_.parse, load_.outline,
        load_.arrange, openMs - loadMs, msAt(DRAWN) - msAt(OPEN_END), reportMs_ - msAt(DRAWN),
        static_cast<long long>(wall.tv_sec) * 1000000000LL + wall.tv_nsec);
    // A text short enough to be arranged whole before it was painted.
    if (arrangedMs_ >= 0) printArranged();
}

void CYbStartupTiming::arrangedAll() {
    if (!enabled_ || arrangedMs_ >= 0) return;
    arrangedMs_ = msNow();
    if (reported_) printArranged();
}

void CYbStartupTiming::printArranged() const {
    std::fprintf(stderr,
                 "yomibon timing: start_to_whole_arrangement_ms=%.1f after_first_paint_ms=%.1f\n",
                 arrangedMs_, arrangedMs_ - reportMs_);
}

}  // namespace Yomibon
