#pragma once
// Runs the recorder simulator program for a test and reads what it logs;
// every wait is bounded.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <sys/types.h>
#include <chrono>
#include <csignal>
#include <string>

namespace veltrin::testing {

class SimProcess {
public:
    SimProcess() = default;
    ~SimProcess()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the simulator; returns the path of its port, or an empty text.
    std::string Start(const QStringList& arguments = {})
    {
        output_.clear();
        process_.setProgram(QStringLiteral(VELTRIN_RECORDER_SIM));
        process_.setArguments(arguments);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start();
        if (!process_.waitForStarted(5000))
            return {};
        if (!WaitForOutput("\n"))
            return {};
        const qsizetype end = output_.indexOf('\n');
        path_ = output_.left(end).toStdString();
        return path_;
    }

    // Waits until the output holds `text`; false after `timeout`.
    bool WaitForOutput(const QByteArray& text,
                       std::chrono::milliseconds timeout = std::chrono::seconds(5))
    {
        const auto giveUp = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            output_ += process_.readAllStandardOutput();
            if (output_.contains(text))
                return true;
            if (std::chrono::steady_clock::now() >= giveUp ||
                process_.state() == QProcess::NotRunning)
                return false;
            process_.waitForReadyRead(50);
        }
    }

    // Sends SIGTERM; returns the exit code, or -1 when it did not end normally.
    int Stop() { return StopWith(SIGTERM); }

    // The same with another signal.
    int StopWith(int signal)
    {
        ::kill(static_cast<pid_t>(process_.processId()), signal);
        if (!process_.waitForFinished(5000))
            return -1;
        output_ += process_.readAllStandardOutput();
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

    const QByteArray& Output() const { return output_; }
    const std::string& Path() const { return path_; }

private:
    QProcess process_;
    QByteArray output_;
    std::string path_;
};

}  // namespace veltrin::testing
