// Ending the session or pressing Ctrl+C in a terminal closes the window the normal way, so
// that the settings and the last position are saved as when the user closes it.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace Yomibon {

class CYbQuitSignals : public QObject {
    Q_OBJECT
  public:
    // Catches SIGTERM, SIGINT and SIGHUP for the lifetime of the object (one per process).
    explicit CYbQuitSignals(QObject* parent = nullptr);
    ~CYbQuitSignals() override;

  private:
    void onSignal();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace Yomibon
