// The USB access helper's own parts: which node it accepts, and the relay of
// frames between its input and output and the device.
#include "recorder-sim/simulated_usb.h"
#include "recorder/usb_access_frame.h"
#include "support/framed_sentence.h"
#include "support/temp_dir.h"
#include "usb-access/node_check.h"
#include "usb-access/relay.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace veltrin::usb_access {
namespace {

using namespace std::chrono_literals;

namespace rc = recorder_constants;

NodeIdentity Identity(bool wholeDisk, bool usb, const char* vendor, const char* product,
                      const char* revision, const char* node = "/dev/sdr")
{
    return {wholeDisk, DiskDescriptor{node, usb, vendor, product, revision}};
}

// A udev stand-in that knows devices by number only, as udev does, and
// remembers which numbers it was asked about.
struct DeviceTable {
    std::map<dev_t, NodeIdentity> devices;
    std::vector<dev_t> asked;

    IdentityLookup Lookup()
    {
        return [this](dev_t number) -> std::optional<NodeIdentity> {
            asked.push_back(number);
            const auto found = devices.find(number);
            if (found == devices.end())
                return std::nullopt;
            return found->second;
        };
    }
};

TEST(RecorderNodeCheck, TakesOnlyTheRecordersWholeDisk)
{
    DeviceTable table;
    table.devices = {
        {makedev(8, 16), Identity(true, true, "Quon    ", "Veltrin V2      ", "2.10")},
        {makedev(8, 17),
         Identity(false, true, "Quon    ", "Veltrin V2      ", "2.10", "/dev/sdr1")},
        {makedev(8, 32), Identity(true, true, "Other   ", "Veltrin V2      ", "2.10")},
        {makedev(8, 48), Identity(true, true, "Quon    ", "Veltrin V2      ", "2.0")},
        {makedev(8, 64), Identity(true, false, "Quon    ", "Veltrin V2      ", "2.10")},
        {makedev(8, 80), Identity(true, true, "Quon    ", "Veltrin V1      ", "2.10")},
    };
    struct Case {
        std::optional<OpenedNode> node;
        NodeVerdict verdict;
    };
    const Case cases[] = {
        {OpenedNode{true, makedev(8, 16)}, NodeVerdict::Recorder},
        {OpenedNode{true, makedev(8, 17)}, NodeVerdict::Partition},
        {OpenedNode{true, makedev(8, 32)}, NodeVerdict::NotRecorder},  // another vendor
        {OpenedNode{true, makedev(8, 48)}, NodeVerdict::NotRecorder},  // revision 2.0
        {OpenedNode{true, makedev(8, 64)}, NodeVerdict::NotRecorder},  // not on USB
        {OpenedNode{true, makedev(8, 80)}, NodeVerdict::NotRecorder},  // another model
        {OpenedNode{true, makedev(8, 96)}, NodeVerdict::Unknown},      // udev knows none
        {OpenedNode{false, makedev(8, 16)},
         NodeVerdict::NotBlockDevice},                // same number, char device
        {std::nullopt, NodeVerdict::NotBlockDevice},  // fstat failed
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckNode(c.node, table.Lookup()), c.verdict)
            << (c.node ? major(c.node->number) : 0) << ":" << (c.node ? minor(c.node->number) : 0);
    }
}

TEST(RecorderNodeCheck, SwappedNodeIsJudgedByTheDeviceThatWasOpened)
{
    // The recorder was at /dev/sdr when the program found it; by the time the
    // helper opened the name, another disk had taken it over. Only the number
    // behind the descriptor counts, whatever name udev gives either device.
    DeviceTable table;
    table.devices = {
        {makedev(8, 16), Identity(true, true, "Quon    ", "Veltrin V2      ", "2.10", "/dev/sdr")},
        {makedev(8, 32), Identity(true, true, "Stick   ", "Flash           ", "1.00", "/dev/sdr")},
    };
    EXPECT_EQ(CheckNode(OpenedNode{true, makedev(8, 32)}, table.Lookup()),
              NodeVerdict::NotRecorder);
    EXPECT_EQ(table.asked, std::vector<dev_t>{makedev(8, 32)});
}

TEST(RecorderNodeCheck, RealDescriptorsOfFilesAndCharacterDevicesAreRefused)
{
    // A lookup that would take anything: the refusal must come from what the
    // descriptor is, not from a name.
    int lookups = 0;
    const IdentityLookup anything = [&lookups](dev_t) -> std::optional<NodeIdentity> {
        ++lookups;
        return Identity(true, true, "Quon    ", "Veltrin V2      ", "2.10");
    };
    test::TempDir dir("veltrin-usb-access");
    const std::string file = (dir / "sdr").string();
    std::ofstream(file) << "not a disk";
    for (const std::string& path : {file, std::string("/dev/null")}) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0) << path;
        EXPECT_EQ(CheckOpenedNode(fd, anything), NodeVerdict::NotBlockDevice) << path;
        ::close(fd);
    }
    EXPECT_EQ(CheckOpenedNode(-1, anything), NodeVerdict::NotBlockDevice);
    EXPECT_EQ(lookups, 0);
}

TEST(UsbAccessFrame, ReplyIsOnlyAnExactFrameWithAKnownOutcome)
{
    Reply reply;
    for (std::size_t i = 0; i < reply.data.size(); ++i)
        reply.data[i] = static_cast<std::uint8_t>(0xA0 + i);
    reply.scsiStatus = 0x02;
    reply.outcome = Outcome::Done;
    const ReplyFrame frame = FormatReply(reply);
    EXPECT_EQ(frame[0], 0xA0);
    EXPECT_EQ(frame[35], 0xA0 + 35);
    EXPECT_EQ(frame[36], 0x02);
    EXPECT_EQ(frame[37], 0);

    const std::optional<Reply> back = ParseReply(frame);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->data, reply.data);
    EXPECT_EQ(back->scsiStatus, 0x02);
    EXPECT_EQ(back->outcome, Outcome::Done);

    std::vector<std::uint8_t> bytes(frame.begin(), frame.end());
    EXPECT_FALSE(ParseReply(std::span(bytes).first(37)));  // short
    EXPECT_FALSE(ParseReply({}));
    bytes.push_back(0);
    EXPECT_FALSE(ParseReply(bytes));  // long
    bytes.pop_back();
    for (const int outcome : {3, 0x7F, 0xFF}) {
        bytes[kOutcomeOffset] = static_cast<std::uint8_t>(outcome);
        EXPECT_FALSE(ParseReply(bytes)) << outcome;  // garbage
    }
    bytes[kOutcomeOffset] = static_cast<std::uint8_t>(Outcome::Refused);
    ASSERT_TRUE(ParseReply(bytes));
    EXPECT_EQ(ParseReply(bytes)->outcome, Outcome::Refused);
}

// A device that counts what reaches it and answers with a marker.
class CountingDevice final : public ScsiDevice {
public:
    int Execute(ScsiRequest& request) override
    {
        opcodes.push_back(request.cdb[0]);
        if (failWith != 0)
            return failWith;
        request.data.fill(0x5A);
        request.status = 0;
        return 0;
    }
    std::vector<std::uint8_t> opcodes;
    int failWith = 0;
};

// Runs the relay in-process between two pipes: the input is written and
// closed first, then the relay runs to its end and the replies are read.
struct RelayRun {
    RelayEnd end = RelayEnd::InputFailed;
    std::vector<Reply> replies;
    std::size_t strayBytes = 0;  // output bytes that make no whole frame
};

RelayRun Relay(const std::vector<std::uint8_t>& input, ScsiDevice& device)
{
    int in[2];
    int out[2];
    EXPECT_EQ(::pipe2(in, O_CLOEXEC), 0);
    EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
    EXPECT_EQ(::write(in[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
    ::close(in[1]);
    RelayRun run;
    run.end = RelayExchanges(in[0], out[1], device);
    ::close(in[0]);
    ::close(out[1]);
    std::vector<std::uint8_t> output;
    std::uint8_t chunk[512];
    for (ssize_t got = 0; (got = ::read(out[0], chunk, sizeof chunk)) > 0;)
        output.insert(output.end(), chunk, chunk + got);
    ::close(out[0]);
    std::size_t at = 0;
    for (; at + kReplyFrameSize <= output.size(); at += kReplyFrameSize) {
        const std::optional<Reply> reply =
            ParseReply(std::span(output).subspan(at, kReplyFrameSize));
        EXPECT_TRUE(reply);
        if (reply)
            run.replies.push_back(*reply);
    }
    run.strayBytes = output.size() - at;
    return run;
}

std::vector<std::uint8_t> Command(std::uint8_t opcode, std::string_view bytes = {})
{
    std::vector<std::uint8_t> frame(kCommandFrameSize, 0);
    frame[0] = opcode;
    frame[1] = static_cast<std::uint8_t>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), frame.begin() + 2);
    return frame;
}

TEST(UsbAccessRelay, RefusesEveryOtherOpcodeWithoutReachingTheDevice)
{
    // Test unit ready, inquiry, read, write, format, and the neighbours of
    // the exchange's own opcode.
    std::vector<std::uint8_t> input;
    for (const int opcode : {0x00, 0x12, 0x28, 0x2A, 0x04, 0x98, 0x9A, 0xFF}) {
        const auto frame = Command(static_cast<std::uint8_t>(opcode));
        input.insert(input.end(), frame.begin(), frame.end());
    }
    CountingDevice device;
    const RelayRun run = Relay(input, device);
    EXPECT_EQ(run.end, RelayEnd::InputClosed);
    ASSERT_EQ(run.replies.size(), 8u);
    for (const Reply& reply : run.replies) {
        EXPECT_EQ(reply.outcome, Outcome::Refused);
        EXPECT_EQ(reply.data, Reply{}.data);
    }
    EXPECT_TRUE(device.opcodes.empty());

    const RelayRun allowed = Relay(Command(rc::kUsbOpcode), device);
    ASSERT_EQ(allowed.replies.size(), 1u);
    EXPECT_EQ(allowed.replies[0].outcome, Outcome::Done);
    EXPECT_EQ(allowed.replies[0].data[0], 0x5A);
    EXPECT_EQ(device.opcodes, std::vector<std::uint8_t>{rc::kUsbOpcode});
}

TEST(UsbAccessRelay, ShortLongAndGarbageInput)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> input;
        RelayEnd end;
        std::size_t replies;
        std::size_t sent;  // commands that reached the device
    };
    std::vector<std::uint8_t> twoAndABit = Command(rc::kUsbOpcode, "ab");
    const auto second = Command(rc::kUsbOpcode, "cd");
    twoAndABit.insert(twoAndABit.end(), second.begin(), second.end());
    twoAndABit.insert(twoAndABit.end(), {0x99, 0x01, 'x', 0});
    const Case cases[] = {
        {"nothing", {}, RelayEnd::InputClosed, 0, 0},
        {"short", {0x99, 0x02, 'a', 'b', 0}, RelayEnd::BrokenFrame, 0, 0},
        {"one byte", {0x99}, RelayEnd::BrokenFrame, 0, 0},
        {"long", twoAndABit, RelayEnd::BrokenFrame, 2, 2},
        {"garbage", std::vector<std::uint8_t>(16, 0xFF), RelayEnd::InputClosed, 1, 0},
    };
    for (const Case& c : cases) {
        CountingDevice device;
        const RelayRun run = Relay(c.input, device);
        EXPECT_EQ(run.end, c.end) << c.what;
        EXPECT_EQ(run.replies.size(), c.replies) << c.what;
        EXPECT_EQ(run.strayBytes, 0u) << c.what;
        EXPECT_EQ(device.opcodes.size(), c.sent) << c.what;
    }
}

TEST(UsbAccessRelay, FailedExchangeIsReportedAndTheNextOneStillRuns)
{
    CountingDevice device;
    device.failWith = ENODEV;
    std::vector<std::uint8_t> input = Command(rc::kUsbOpcode);
    input.resize(2 * kCommandFrameSize);
    input[kCommandFrameSize] = rc::kUsbOpcode;
    const RelayRun run = Relay(input, device);
    EXPECT_EQ(run.end, RelayEnd::InputClosed);
    ASSERT_EQ(run.replies.size(), 2u);
    EXPECT_EQ(run.replies[0].outcome, Outcome::Failed);
    EXPECT_EQ(run.replies[0].data, Reply{}.data);
    EXPECT_EQ(device.opcodes.size(), 2u);
}

TEST(UsbAccessRelay, CarriesTheExchangeWithTheSimulatedRecorder)
{
    sim::SimulatedUsbBus bus;
    bus.Plug(sim::RecorderDisk("/dev/sdr"),
             std::make_shared<sim::SimulatedRecorder>(sim::RecorderState{}, 0ms));
    const std::unique_ptr<ScsiDevice> device = bus.Access()->OpenDisk("/dev/sdr");
    ASSERT_TRUE(device);

    // The command in pieces of up to ten bytes, then empty polls for the reply.
    const std::string command = test::Framed("$VLTCM,SERIAL") + "\n";
    std::vector<std::uint8_t> input;
    for (std::size_t at = 0; at < command.size(); at += rc::kMaxBytesOut) {
        const auto frame =
            Command(rc::kUsbOpcode, std::string_view(command).substr(at, rc::kMaxBytesOut));
        input.insert(input.end(), frame.begin(), frame.end());
    }
    for (int poll = 0; poll < 8; ++poll) {
        const auto frame = Command(rc::kUsbOpcode);
        input.insert(input.end(), frame.begin(), frame.end());
    }
    const RelayRun run = Relay(input, *device);
    EXPECT_EQ(run.end, RelayEnd::InputClosed);
    std::string reply;
    for (const Reply& r : run.replies) {
        EXPECT_EQ(r.outcome, Outcome::Done);
        ASSERT_EQ(r.data[0], rc::kUsbOpcode);
        ASSERT_LT(r.data[1], rc::kReplyCountLimit);
        reply.append(r.data.begin() + 2, r.data.begin() + 2 + r.data[1]);
    }
    EXPECT_EQ(reply.rfind("$VLTTX,SERIAL,", 0), 0u) << reply;
    EXPECT_NE(reply.find("\r\n"), std::string::npos) << reply;
}

}  // namespace
}  // namespace veltrin::usb_access
