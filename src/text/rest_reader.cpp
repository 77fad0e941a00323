#include "text/rest_reader.h"

#include <algorithm>
#include <chrono>

#include "text/txt_parser_mgr.h"

namespace Yomibon {

CYbRestReader::CYbRestReader(std::u16string fileName, std::function<void()> done)
    : thread_([this, name = std::move(fileName), done = std::move(done)] { run(name, done); }) {}

CYbRestReader::~CYbRestReader() {
    stop_.store(true, std::memory_order_relaxed);
    if (thread_.joinable()) thread_.join();
}

void CYbRestReader::run(const std::u16string& fileName, const std::function<void()>& done) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    CYbTxtParserMgr parsers;
    parsers.setStopFlag(&stop_);
    CYbTxtParser::LoadPhases phases;
    ok_ = parsers.open(fileName, text_, nullptr, &phases);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    times_.read = phases.read;
    times_.decode = phases.decode;
    times_.parse = std::max(0.0, ms - phases.read - phases.decode);
    ready_.store(true, std::memory_order_release);
    if (!stop_.load(std::memory_order_relaxed) && done) done();
}

bool CYbRestReader::take(CYbTxtBuffer& text, TextLoadTimes& times) {
    if (thread_.joinable()) thread_.join();
    text.swap(text_);
    times = times_;
    return ok_;
}

}  // namespace Yomibon
