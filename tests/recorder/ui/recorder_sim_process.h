#pragma once
// The recorder simulator as a child process of a test: started with options,
// its pseudo-terminal path read from its first output line and the commands
// it received read from its "CMD" lines. Every wait is bounded.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace veltrin::testing {

class RecorderSimProcess {
public:
    RecorderSimProcess() = default;
    ~RecorderSimProcess();
    RecorderSimProcess(const RecorderSimProcess&) = delete;
    RecorderSimProcess& operator=(const RecorderSimProcess&) = delete;

    // Starts the simulator; false when it did not print its path in time.
    bool Start(const QStringList& options = {});
    QString Path() const { return path_; }

    // Every command received so far, oldest first (text after "$VLTCM,").
    QStringList Commands();
    // Waits up to `ms` for `command` to have been received.
    bool WaitForCommand(const QString& command, int ms = 3000);
    // Ends the simulator (its pseudo-terminal goes away).
    void Stop();
    // Forgets the commands received so far.
    void ClearCommands();

private:
    void Drain(int ms);

    QProcess process_;
    QString path_;
    QByteArray pending_;
    QStringList commands_;
};

// Lets the event loop run for `ms` (timers, queued signals).
void Pump(int ms);

}  // namespace veltrin::testing
