// The whole of a long text read and parsed on a second thread while its head is shown: the
// reader sees the first spread at once and the rest takes the head's place when it is read.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "text/load_times.h"
#include "text/text_buffer.h"

namespace Yomibon {

class CYbRestReader {
  public:
    // Starts loading `fileName` whole. `done` is called on the reading thread once the load
    // has ended (not when it was stopped); it must only pass the news on.
    CYbRestReader(std::u16string fileName, std::function<void()> done);
    // Stops a load still running and waits for its thread.
    ~CYbRestReader();
    CYbRestReader(const CYbRestReader&) = delete;
    CYbRestReader& operator=(const CYbRestReader&) = delete;

    bool ready() const { return ready_.load(std::memory_order_acquire); }
    // Waits for the load to end and hands the text over (once), with the times of its
    // read, decode and parse; false when it could not be read.
    bool take(CYbTxtBuffer& text, TextLoadTimes& times);

  private:
    void run(const std::u16string& fileName, const std::function<void()>& done);

    std::atomic<bool> stop_{false};
    std::atomic<bool> ready_{false};
    bool ok_ = false;
    CYbTxtBuffer text_;
    TextLoadTimes times_;
    std::thread thread_;
};

}  // namespace Yomibon
