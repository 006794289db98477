// The command exchange over the USB transport, with a scripted disk for exact
// reply bytes and the simulated recorder for whole conversations.
#include "recorder-sim/simulated_usb.h"
#include "recorder/recorder_commands.h"
#include "recorder/recorder_session.h"
#include "scripted_drive.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace veltrin {
namespace {

using namespace std::chrono_literals;
using testing::RecorderDescriptor;
using testing::ScriptedDisk;
using testing::ScriptedDriveAccess;

std::string Reply(std::string_view body)
{
    return sim::ReplySentence(body);
}

struct ScriptedSession : ::testing::Test {
    std::shared_ptr<ScriptedDisk> disk = std::make_shared<ScriptedDisk>();
    std::vector<std::chrono::milliseconds> waits;
    RecorderSession session{std::make_unique<ScriptedDriveAccess>(disk),
                            [this](std::chrono::milliseconds ms) {
                                waits.push_back(ms);
                            }};

    void SetUp() override
    {
        disk->disks = {RecorderDescriptor()};
        ASSERT_TRUE(session.Link().LinkOpen("usb"));
    }
};

TEST_F(ScriptedSession, CommandsAreFramedWithChecksumAndOneLineFeed)
{
    EXPECT_TRUE(session.SendCommand("VERSION"));
    EXPECT_TRUE(session.SendCommand("LIMITS,1,-3.5,5.5,250"));
    session.ReadReplies();
    EXPECT_EQ(disk->received, "$VLTCM,VERSION*36\n$VLTCM,LIMITS,1,-3.5,5.5,250*47\n");
}

TEST_F(ScriptedSession, RepliesAreAssembledAcrossReadsAndLineEnds)
{
    const std::string serial = Reply("SERIAL,SN4711");
    disk->Queue(serial.substr(0, 9));
    session.ReadReplies();
    EXPECT_EQ(session.GetRecorderInfo().serialNumber, "");
    disk->Queue(serial.substr(9, serial.size() - 11));  // up to, not including, CR LF
    session.ReadReplies();
    EXPECT_EQ(session.GetRecorderInfo().serialNumber, "");
    disk->Queue("\r\n\r\n\n" + Reply("LFZSIGN,D-EABC").substr(0, 22) + "\n" + Reply("VERSION,2.5") +
                "garbage without end\r" + Reply("LIMITS,1,-2,4.5,180"));
    const RecorderInfo info = session.GetRecorderInfo();
    EXPECT_EQ(info.serialNumber, "SN4711");
    EXPECT_EQ(info.registration, "");  // cut off by a line feed: bad checksum
    EXPECT_FLOAT_EQ(info.version, 2.5f);
    EXPECT_DOUBLE_EQ(info.maxNegativeLoad, -2.0);
    EXPECT_DOUBLE_EQ(info.maxPositiveLoad, 4.5);
    EXPECT_DOUBLE_EQ(info.maxSpeed, 180.0);
}

TEST_F(ScriptedSession, LineOver511CharactersIsDroppedWhole)
{
    // A reply padded with an ignored seventh field to exactly `length` characters.
    auto padded = [](std::string body, std::size_t length) {
        body += ",1,2,3,4,";
        body.append(length - 10 - body.size(), 'x');
        return Reply(body);
    };
    disk->Queue(padded("SERIAL,KEPT", 511));
    disk->Queue(padded("VERSION,9", 512));
    // Nothing of an over-long line is used, not even a sentence at its end.
    disk->Queue(std::string(511, 'x') + Reply("LFZSIGN,TAIL"));
    disk->Queue(std::string(2000, 'x') + "\n" + Reply("LIMITS,1,-1,2,3"));
    const RecorderInfo info = session.GetRecorderInfo();
    EXPECT_EQ(info.serialNumber, "KEPT");
    EXPECT_FLOAT_EQ(info.version, 0.0f);
    EXPECT_EQ(info.registration, "");
    EXPECT_DOUBLE_EQ(info.maxSpeed, 3.0);  // the next line is read normally
}

TEST_F(ScriptedSession, RegressionFloodedLineHeldTheProgramInOneRead)
{
    // A line that never stops sending: one read takes a bounded share and
    // returns, and what follows the flood is read on later calls.
    const std::size_t flood = 4 * recorder_constants::kMaxBytesPerRead;
    disk->Queue(std::string(flood, 'x') + "\n" + Reply("SERIAL,AFTER"));
    const std::size_t queued = disk->replies.size();
    session.ReadReplies();
    const std::size_t taken = queued - disk->replies.size();
    EXPECT_GE(taken, recorder_constants::kMaxBytesPerRead);
    EXPECT_LT(taken, 2 * recorder_constants::kMaxBytesPerRead);  // the link buffers a little
    for (int read = 0; read < 8 && !disk->replies.empty(); ++read)
        session.ReadReplies();
    EXPECT_TRUE(disk->replies.empty());
    EXPECT_EQ(session.GetRecorderInfo().serialNumber, "AFTER");
}

TEST_F(ScriptedSession, PasswordVerdictFollowsTheNewestReply)
{
    disk->Queue(Reply("PASS,1"));
    EXPECT_TRUE(session.CheckPassword("secret"));
    EXPECT_EQ(session.GetPassword(), "secret");
    EXPECT_EQ(waits, std::vector{300ms});

    for (const char* verdict : {"PASS,0", "PASS,2"}) {
        disk->Queue(Reply("PASS,1"));
        EXPECT_TRUE(session.CheckPassword("secret"));
        disk->Queue(Reply(verdict));
        EXPECT_FALSE(session.CheckPassword("wrong")) << verdict;
        EXPECT_EQ(session.GetPassword(), "") << verdict;
    }

    // No reply: the last verdict (rejected) stands; then an old acceptance
    // arriving late counts.
    EXPECT_FALSE(session.CheckPassword("again"));
    disk->Queue(Reply("PASS,1"));
    EXPECT_TRUE(session.CheckPassword("again"));
    EXPECT_EQ(session.GetPassword(), "again");
}

TEST_F(ScriptedSession, RegressionUnsendablePasswordReadAsAccepted)
{
    disk->Queue(Reply("PASS,1"));
    ASSERT_TRUE(session.CheckPassword("secret"));
    const std::string sent = disk->received;
    waits.clear();
    // A line feed would end the command early; an overlong text overruns the
    // recorder's command buffer.
    EXPECT_FALSE(session.CheckPassword("x\n$VLTCM,CLREVT*76"));
    EXPECT_FALSE(session.CheckPassword(std::string(300, 'p')));
    EXPECT_EQ(session.GetPassword(), "");
    EXPECT_EQ(disk->received, sent);
    EXPECT_TRUE(waits.empty());

    session.CloseLink();
    EXPECT_FALSE(session.CheckPassword("secret"));
    EXPECT_FALSE(session.SendCommand("VERSION"));
}

TEST(RecorderCommands, FormatNumbersLikeTheRecorderExpects)
{
    EXPECT_EQ(recorder_commands::WriteLimits(-3.5, 5.5, 250), "LIMITS,1,-3.5,5.5,250");
    EXPECT_EQ(recorder_commands::WriteLimits(0, 0.04, 99.6), "LIMITS,1,0.0,0.0,100");
}

TEST(RecorderCommands, RegressionOverlongCommandTextOverranTheRecordersBuffer)
{
    EXPECT_EQ(recorder_commands::FrameCommand(std::string(246, 'a')), std::nullopt);
    EXPECT_TRUE(recorder_commands::FrameCommand(std::string(245, 'a')).has_value());
}

// Whole conversations with the simulated recorder on its USB side.
struct SimulatedUsbSession : ::testing::Test {
    sim::SimulatedUsbBus bus;
    std::shared_ptr<sim::SimulatedRecorder> recorder =
        std::make_shared<sim::SimulatedRecorder>(sim::RecorderState{}, 0ms);
    std::vector<std::string> commands;
    RecorderSession session{bus.Access(), [](std::chrono::milliseconds) {
                            }};

    void SetUp() override
    {
        recorder->SetCommandLog([this](std::string_view text) { commands.emplace_back(text); });
        bus.Plug(sim::RecorderDisk("/dev/sdr"), recorder);
    }
};

TEST_F(SimulatedUsbSession, DetectsReadsAndWritesTheRecorder)
{
    ASSERT_TRUE(session.DetectRecorder("Usb"));
    RecorderInfo info = session.GetRecorderInfo();
    EXPECT_FLOAT_EQ(info.version, 2.1f);
    EXPECT_EQ(info.serialNumber, "SN4711");

    EXPECT_TRUE(session.CheckPassword("1234"));
    info = session.ReadRecorderSettings();
    EXPECT_DOUBLE_EQ(info.maxNegativeLoad, -3.5);
    EXPECT_DOUBLE_EQ(info.maxPositiveLoad, 5.5);
    EXPECT_DOUBLE_EQ(info.maxSpeed, 250.0);
    EXPECT_EQ(info.registration, "D-EABC");

    session.WriteRecorderSettings({-4.0, 6.5, 280.0, "4321", "D-KXYZ"});
    session.ClearEvents();
    session.ReadReplies();  // drains the last bytes 10 at a time
    EXPECT_EQ(recorder->State().password, "4321");
    EXPECT_EQ(recorder->State().registration, "D-KXYZ");
    EXPECT_DOUBLE_EQ(recorder->State().maxSpeed, 280.0);
    EXPECT_EQ(recorder->State().eventCount, 0);
    const std::vector<std::string> expected = {"VERSION",        "SERIAL",
                                               "PASS,1234",      "LIMITS,1",
                                               "LFZSIGN",        "LIMITS,1,-4.0,6.5,280",
                                               "LFZSIGN,D-KXYZ", "SETPASS,4321",
                                               "SAVECFG",        "CLREVT"};
    EXPECT_EQ(commands, expected);
}

TEST_F(SimulatedUsbSession, VersionZeroIsNoRecorder)
{
    sim::RecorderState state;
    state.version = "0";
    *recorder = sim::SimulatedRecorder(state, 0ms);
    EXPECT_FALSE(session.DetectRecorder("USB"));
    EXPECT_TRUE(session.Link().LinkIsOpen());
}

TEST_F(SimulatedUsbSession, UnpluggedRecorderIsFoundAgainWhenBack)
{
    ASSERT_TRUE(session.DetectRecorder("USB"));
    bus.Unplug("/dev/sdr");
    EXPECT_FALSE(session.DetectRecorder("USB"));
    EXPECT_FALSE(session.Link().LinkIsOpen());
    EXPECT_FALSE(session.DetectRecorder("USB"));
    EXPECT_EQ(bus.OpenHandles(), 0);

    bus.Plug(sim::RecorderDisk("/dev/sds"), recorder);  // comes back under another node
    EXPECT_TRUE(session.DetectRecorder("USB"));
    EXPECT_EQ(session.GetRecorderInfo().serialNumber, "SN4711");

    // Another port name closes the drive, even when that port cannot be opened.
    EXPECT_FALSE(session.DetectRecorder("/nonexistent/ttyS9"));
    EXPECT_EQ(bus.OpenHandles(), 0);
}

}  // namespace
}  // namespace veltrin
