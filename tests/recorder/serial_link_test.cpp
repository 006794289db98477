// The link and the command exchange over real pseudo-terminals, against the
// simulator program and against a port on which nobody answers.
#include "recorder/recorder_session.h"
#include "sim_process.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>

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
    const QStringList arguments = {"--link", QString::fromStdString(link), "--state",
                                   dir.filePath("state"), "--serial", "SN0815",
                                   "--password", "pw1", "--delay-ms", "30"};
    RecorderSession session;
    {
        SimProcess sim;
        ASSERT_FALSE(sim.Start(arguments).empty());
        ASSERT_TRUE(session.DetectRecorder(link));
        EXPECT_EQ(session.GetRecorderInfo().serialNumber, "SN0815");
        EXPECT_FALSE(session.CheckPassword("nope"));
        EXPECT_TRUE(session.CheckPassword("pw1"));
        session.WriteRecorderSettings({-4.0, 6.5, 280.0, "pw2", "D-KXYZ"});
        EXPECT_TRUE(sim.WaitForOutput("CMD LIMITS,1,-4.0,6.5,280\nCMD LFZSIGN,D-KXYZ\n"
                                      "CMD SETPASS,pw2\nCMD SAVECFG\n"));
        EXPECT_EQ(sim.Stop(), 0);
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(link)));
    }

    // Gone: detection fails at once instead of waiting on a dead port.
    const auto start = std::chrono::steady_clock::now();
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

}  // namespace
}  // namespace veltrin
