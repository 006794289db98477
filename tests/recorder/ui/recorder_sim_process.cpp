#include "recorder_sim_process.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace veltrin::testing {

RecorderSimProcess::~RecorderSimProcess()
{
    Stop();
}

void RecorderSimProcess::Stop()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(2000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }
}

bool RecorderSimProcess::Start(const QStringList& options)
{
#ifdef VELTRIN_RECORDER_SIM
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(QStringLiteral(VELTRIN_RECORDER_SIM), options);
    if (!process_.waitForStarted(5000))
        return false;
    const QDeadlineTimer deadline(5000);
    while (!pending_.contains('\n') && !deadline.hasExpired()) {
        process_.waitForReadyRead(100);
        pending_ += process_.readAllStandardOutput();
    }
    const qsizetype end = pending_.indexOf('\n');
    if (end < 0)
        return false;
    path_ = QString::fromUtf8(pending_.left(end)).trimmed();
    pending_.remove(0, end + 1);
    return !path_.isEmpty();
#else
    (void)options;
    return false;
#endif
}

void RecorderSimProcess::Drain(int ms)
{
    process_.waitForReadyRead(ms);
    pending_ += process_.readAllStandardOutput();
    qsizetype end = 0;
    while ((end = pending_.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(pending_.left(end)).trimmed();
        pending_.remove(0, end + 1);
        if (line.startsWith(QLatin1String("CMD ")))
            commands_.append(line.mid(4));
    }
}

QStringList RecorderSimProcess::Commands()
{
    Drain(50);
    return commands_;
}

bool RecorderSimProcess::WaitForCommand(const QString& command, int ms)
{
    const QDeadlineTimer deadline(ms);
    do {
        Drain(50);
        if (commands_.contains(command))
            return true;
    } while (!deadline.hasExpired());
    return false;
}

void RecorderSimProcess::ClearCommands()
{
    Drain(50);
    commands_.clear();
}

void Pump(int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

}  // namespace veltrin::testing
