// The link and the command exchange over real pseudo-terminals, against the
// simulator program and against a port on which nobody answers.
#include "recorder/recorder_session.h"
#include "sim_process.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

namespace veltrin {
namespace {

using namespace std::chrono_literals;
using testing::SimProcess;

// A pseudo-terminal whose far end the test reads itself.
class SilentPort {
public:
    SilentPort()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            path_ = ::ptsname(master_);
    }
    ~SilentPort()
    {
        if (master_ >= 0)
            ::close(master_);
    }
    SilentPort(const SilentPort&) = delete;
    SilentPort& operator=(const SilentPort&) = delete;

    const std::string& Path() const { return path_; }

    std::string ReadWaiting()
    {
        std::string text;
        char buffer[256];
        pollfd in{master_, POLLIN, 0};
        while (::poll(&in, 1, 100) > 0 && (in.revents & POLLIN) != 0) {
            const ssize_t got = ::read(master_, buffer, sizeof buffer);
            if (got <= 0)
                break;
            text.append(buffer, static_cast<std::size_t>(got));
        }
        return text;
    }

    // True once no program holds the port open any more.
    bool Released()
    {
        pollfd in{master_, POLLIN, 0};
        return ::poll(&in, 1, 0) >= 0 && (in.revents & POLLHUP) != 0;
    }

private:
    int master_ = -1;
    std::string path_;
};

TEST(SerialRecorder, SilentPortFindsNothingAndSecondPortReleasesIt)
{
    SilentPort silent;
    ASSERT_FALSE(silent.Path().empty());
    RecorderSession session;
    EXPECT_FALSE(session.DetectRecorder(silent.Path()));
    EXPECT_TRUE(session.Link().LinkIsOpen());
    // Raw line: one line feed per command, no carriage return added.
    EXPECT_EQ(silent.ReadWaiting(), "$VLTCM,VERSION*36\n$VLTCM,SERIAL*6C\n");
    EXPECT_FALSE(silent.Released());

    SimProcess sim;
    const std::string port = sim.Start();
    ASSERT_FALSE(port.empty());
    EXPECT_TRUE(session.DetectRecorder(port));
    EXPECT_TRUE(silent.Released());
    const RecorderInfo info = session.GetRecorderInfo();
    EXPECT_FLOAT_EQ(info.version, 2.1f);
    EXPECT_EQ(info.serialNumber, "SN4711");
}

// Commands the far end has received, as their texts between "$VLTCM," and
// the checksum, each followed by a blank.
std::string CommandTexts(const std::string& raw)
{
    std::string texts;
    std::size_t pos = 0;
    while ((pos = raw.find("$VLTCM,", pos)) != std::string::npos) {
        pos += 7;
        const std::size_t star = raw.find('*', pos);
        texts += raw.substr(pos, star - pos) + ' ';
        pos = star;
    }
    return texts;
}

// Every fixed wait comes after the command it belongs to has left the port,
// and no other wait is made.
TEST(SerialRecorder, FixedWaitsFollowTheirCommands)
{
    SilentPort far;
    ASSERT_FALSE(far.Path().empty());
    std::string timeline;
    RecorderSession session({}, [&](std::chrono::milliseconds duration) {
        timeline += CommandTexts(far.ReadWaiting()) + "[" + std::to_string(duration.count()) + "] ";
    });
    const auto steps = [&] {
        return timeline + CommandTexts(far.ReadWaiting());
    };

    EXPECT_FALSE(session.DetectRecorder(far.Path()));
    EXPECT_EQ(steps(), "VERSION SERIAL [300] ");
    timeline.clear();
    EXPECT_FALSE(session.CheckPassword("pw"));
    EXPECT_EQ(steps(), "PASS,pw [300] ");
    timeline.clear();
    session.ReadRecorderSettings();
    EXPECT_EQ(steps(), "LIMITS,1 [250] LFZSIGN [250] ");
    timeline.clear();
    EXPECT_TRUE(session.WriteRecorderSettings({-3.5, 5.5, 250.0, "new", "D-EABC"}));
    EXPECT_EQ(steps(), "LIMITS,1,-3.5,5.5,250 [50] LFZSIGN,D-EABC [50] SETPASS,new [50] SAVECFG ");
    timeline.clear();
    session.ClearEvents();
    EXPECT_EQ(steps(), "CLREVT ");
}

TEST(SerialRecorder, VersionZeroIsNoRecorder)
{
    SimProcess sim;
    const std::string port = sim.Start({"--version", "0"});
    ASSERT_FALSE(port.empty());
    RecorderSession session;
    EXPECT_FALSE(session.DetectRecorder(port));
    EXPECT_TRUE(sim.WaitForOutput("CMD SERIAL\n"));
}

TEST(SerialRecorder, UnpluggedRecorderComesBackWithItsSavedSettings)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string link = dir.filePath("recorder").toStdString();
    const QStringList arguments = {"--link",     QString::fromStdString(link),
                                   "--state",    dir.filePath("state"),
                                   "--serial",   "SN0815",
                                   "--password", "pw1",
                                   "--delay-ms", "30"};
    RecorderSession session;
    {
        SimProcess sim;
        ASSERT_FALSE(sim.Start(arguments).empty());
        ASSERT_TRUE(session.DetectRecorder(link));
        EXPECT_EQ(session.GetRecorderInfo().serialNumber, "SN0815");
        EXPECT_FALSE(session.CheckPassword("nope"));
        EXPECT_TRUE(session.CheckPassword("pw1"));
        session.WriteRecorderSettings({-4.0, 6.5, 280.0, "pw2", "D-KXYZ"});
        EXPECT_TRUE(
            sim.WaitForOutput("CMD LIMITS,1,-4.0,6.5,280\nCMD LFZSIGN,D-KXYZ\n"
                              "CMD SETPASS,pw2\nCMD SAVECFG\n"));
        EXPECT_EQ(sim.Stop(), 0);
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(link)));
    }

    // Gone: the link says so before anything is sent, writing settings
    // reports the loss, and detection fails at once instead of waiting on a
    // dead port.
    EXPECT_FALSE(session.Link().LinkIsOpen());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(session.WriteRecorderSettings({-1.0, 2.0, 100.0, "pw3", "D-LOST"}));
    EXPECT_FALSE(session.DetectRecorder(link));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_FALSE(session.Link().LinkIsOpen());

    SimProcess sim;
    ASSERT_FALSE(sim.Start(arguments).empty());
    ASSERT_TRUE(session.DetectRecorder(link));
    const RecorderInfo info = session.ReadRecorderSettings();
    EXPECT_DOUBLE_EQ(info.maxNegativeLoad, -4.0);
    EXPECT_DOUBLE_EQ(info.maxPositiveLoad, 6.5);
    EXPECT_DOUBLE_EQ(info.maxSpeed, 280.0);
    EXPECT_EQ(info.registration, "D-KXYZ");
    EXPECT_TRUE(session.CheckPassword("pw2"));
}

// The simulator ends during one of the waits between the four commands that
// write the settings: whatever was left unsent is reported, never claimed as
// delivered, and detection on the same port finds the recorder once it is back.
TEST(SerialRecorder, RegressionSettingsWrittenToAnUnpluggedRecorderReportedSent)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string link = dir.filePath("recorder").toStdString();
    const QStringList arguments = {"--link", QString::fromStdString(link), "--delay-ms", "5"};
    struct Case {
        const char* name;
        int stopAfterWait;  // 1: after LIMITS, 2: after LFZSIGN, 3: after SETPASS
        const char* lastDelivered;
    };
    const Case cases[] = {
        {"after limits", 1, "CMD LIMITS,1,-4.0,6.5,280\n"},
        {"after registration", 2, "CMD LFZSIGN,D-KXYZ\n"},
        {"after password", 3, "CMD SETPASS,pw2\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimProcess sim;
        bool writing = false;
        int waits = 0;
        RecorderSession session({}, [&](std::chrono::milliseconds duration) {
            std::this_thread::sleep_for(duration);
            if (writing && ++waits == c.stopAfterWait)
                sim.Stop();
        });
        ASSERT_FALSE(sim.Start(arguments).empty());
        ASSERT_TRUE(session.DetectRecorder(link));
        ASSERT_TRUE(session.CheckPassword("1234"));
        writing = true;

        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(session.WriteRecorderSettings({-4.0, 6.5, 280.0, "pw2", "D-KXYZ"}));
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
        EXPECT_TRUE(sim.Output().contains(c.lastDelivered));
        EXPECT_FALSE(sim.Output().contains("CMD SAVECFG"));
        EXPECT_FALSE(session.Link().LinkIsOpen());
        writing = false;
        EXPECT_FALSE(session.DetectRecorder(link));

        SimProcess back;
        ASSERT_FALSE(back.Start(arguments).empty());
        EXPECT_TRUE(session.DetectRecorder(link));
        EXPECT_TRUE(session.CheckPassword("1234"));
        EXPECT_TRUE(session.WriteRecorderSettings({-4.0, 6.5, 280.0, "pw2", "D-KXYZ"}));
        EXPECT_TRUE(back.WaitForOutput("CMD SAVECFG\n"));
    }
}

TEST(RecorderSimulator, AnswersOnlyLinesWithAGoodChecksum)
{
    SimProcess sim;
    const std::string port = sim.Start({"--delay-ms", "0"});
    ASSERT_FALSE(port.empty());
    const int fd = ::open(port.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    const std::string lines = "$VLTCM,VERSION*00\n$VLTCM,VERSION*36\r\n";
    ASSERT_EQ(::write(fd, lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
    std::string reply;
    char buffer[128];
    pollfd in{fd, POLLIN, 0};
    while (reply.find('\n') == std::string::npos && ::poll(&in, 1, 2000) > 0) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        reply.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    EXPECT_EQ(reply, "$VLTTX,VERSION,2.1*35\r\n");
    EXPECT_TRUE(sim.WaitForOutput("CMD VERSION\n"));
    EXPECT_EQ(sim.Output().count("CMD"), 1);
}

// Opens the simulator's port as a program would.
int OpenPort(const std::string& port)
{
    return ::open(port.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

// Everything that arrives on `fd` within `wait` after the last byte.
std::string ReadFor(int fd, std::chrono::milliseconds wait)
{
    std::string text;
    char buffer[128];
    pollfd in{fd, POLLIN, 0};
    while (::poll(&in, 1, static_cast<int>(wait.count())) > 0 && (in.revents & POLLIN) != 0) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

bool WriteVersionCommand(int fd)
{
    const std::string line = "$VLTCM,VERSION*36\n";
    return ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
}

// A reply still pending, or sent but not read, when a program closed the
// port used to reach the next program that opened it.
TEST(RecorderSimulator, RegressionRepliesForAProgramThatHungUpDoNotReachTheNextOne)
{
    for (const char* delay : {"300", "0"}) {
        SCOPED_TRACE(delay);
        SimProcess sim;
        const std::string port = sim.Start({"--delay-ms", delay});
        ASSERT_FALSE(port.empty());
        int fd = OpenPort(port);
        ASSERT_GE(fd, 0);
        ASSERT_TRUE(WriteVersionCommand(fd));
        ASSERT_TRUE(sim.WaitForOutput("CMD VERSION\n"));
        std::this_thread::sleep_for(std::string_view(delay) == "0" ? 100ms : 0ms);
        ::close(fd);
        std::this_thread::sleep_for(500ms);

        fd = OpenPort(port);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(ReadFor(fd, 500ms), "");
        // The port still answers the next program's own commands.
        ASSERT_TRUE(WriteVersionCommand(fd));
        EXPECT_EQ(ReadFor(fd, 1000ms), "$VLTTX,VERSION,2.1*35\r\n");
        ::close(fd);
    }
}

TEST(RecorderSimulator, RegressionHangUpSignalRemovesTheLink)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string link = dir.filePath("recorder").toStdString();
    SimProcess sim;
    ASSERT_FALSE(sim.Start({"--link", QString::fromStdString(link)}).empty());
    EXPECT_TRUE(QFileInfo(QString::fromStdString(link)).isSymLink());
    EXPECT_EQ(sim.StopWith(SIGHUP), 0);
    EXPECT_FALSE(QFileInfo(QString::fromStdString(link)).isSymLink());
}

// A serial number, password or registration holding a field separator, the
// checksum mark, a sentence start or a control character made replies the
// program cannot parse.
TEST(RecorderSimulator, RegressionTextsThatWouldBreakTheRepliesAreRefused)
{
    for (const char* option : {"--serial", "--password", "--registration"}) {
        for (const char* value : {"SN,1", "a*b", "$VLT", "a\tb", "a\x7f"}) {
            SCOPED_TRACE(::testing::Message() << option << ' ' << ::testing::PrintToString(value));
            QProcess sim;
            sim.start(QStringLiteral(VELTRIN_RECORDER_SIM), {option, QString::fromLatin1(value)});
            ASSERT_TRUE(sim.waitForFinished(5000));
            EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(sim.exitCode(), 2);
            EXPECT_TRUE(sim.readAllStandardOutput().isEmpty());
            EXPECT_TRUE(sim.readAllStandardError().contains(option));
        }
    }
}

}  // namespace
}  // namespace veltrin
