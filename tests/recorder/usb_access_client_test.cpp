// The program's side of the USB access helper: falling back to it when the
// kernel refuses the pass-through command, and talking to it over a socket.
#include "recorder/usb_access_client.h"
#include "recorder-sim/simulated_usb.h"
#include "recorder/usb_access_frame.h"
#include "recorder/usb_transport.h"
#include "support/framed_sentence.h"
#include "support/temp_dir.h"
#include "usb-access/relay.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace veltrin {
namespace {

using namespace std::chrono_literals;
namespace rc = recorder_constants;
namespace ua = usb_access;

// A device that answers like one the kernel keeps this process from sending
// to, or lets through.
class DirectDevice final : public ScsiDevice {
public:
    explicit DirectDevice(int answer, int* calls) : answer_(answer), calls_(calls) {}
    int Execute(ScsiRequest& request) override
    {
        ++*calls_;
        request.data.fill(0);
        return answer_;
    }

private:
    int answer_;
    int* calls_;
};

// The helper in-process: the relay on a thread, reached through a socket
// pair like the real one. It ends when the client closes its end.
class InProcessHelper {
public:
    explicit InProcessHelper(std::unique_ptr<ScsiDevice> device) : device_(std::move(device))
    {
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends_), 0);
        thread_ = std::thread([this] { end_ = ua::RelayExchanges(ends_[1], ends_[1], *device_); });
    }
    ~InProcessHelper()
    {
        thread_.join();
        ::close(ends_[1]);
    }
    InProcessHelper(const InProcessHelper&) = delete;
    InProcessHelper& operator=(const InProcessHelper&) = delete;

    std::unique_ptr<ScsiDevice> Client() { return std::make_unique<UsbAccessClient>(ends_[0], -1); }
    ua::RelayEnd End() const { return end_; }

private:
    std::unique_ptr<ScsiDevice> device_;
    int ends_[2] = {-1, -1};
    std::thread thread_;
    ua::RelayEnd end_ = ua::RelayEnd::InputFailed;
};

// The system's drive access as an unprivileged program sees it: the recorder
// is listed and opens, but the kernel refuses the command.
class RefusingDriveAccess final : public DriveAccess {
public:
    explicit RefusingDriveAccess(sim::SimulatedUsbBus& bus) : bus_(bus) {}
    std::vector<DiskDescriptor> ListDisks() override { return bus_.Access()->ListDisks(); }
    std::unique_ptr<ScsiDevice> OpenDisk(const std::string& node) override
    {
        return std::make_unique<FallbackScsiDevice>(
            std::make_unique<DirectDevice>(EPERM, &directCalls), node,
            [this](const std::string& started) -> std::unique_ptr<ScsiDevice> {
                startedFor.push_back(started);
                helpers.push_back(
                    std::make_unique<InProcessHelper>(bus_.Access()->OpenDisk(started)));
                return helpers.back()->Client();
            });
    }

    int directCalls = 0;
    std::vector<std::string> startedFor;
    std::vector<std::unique_ptr<InProcessHelper>> helpers;

private:
    sim::SimulatedUsbBus& bus_;
};

TEST(UsbTransportThroughHelper, ReachesTheSimulatedRecorderWhenSgIoIsRefused)
{
    sim::SimulatedUsbBus bus;
    bus.Plug(sim::RecorderDisk("/dev/sdr"),
             std::make_shared<sim::SimulatedRecorder>(sim::RecorderState{}, 0ms));
    auto access = std::make_unique<RefusingDriveAccess>(bus);
    RefusingDriveAccess& drives = *access;
    {
        UsbTransport usb(std::move(access));
        ASSERT_TRUE(usb.UsbOpen());
        const std::string command = test::Framed("$VLTCM,SERIAL") + "\n";
        ASSERT_TRUE(usb.UsbWrite(
            std::span(reinterpret_cast<const std::uint8_t*>(command.data()), command.size())));
        std::string reply;
        std::uint8_t byte = 0;
        for (int polls = 0; polls < 100 && reply.find('\n') == std::string::npos; ++polls) {
            if (usb.UsbRead(std::span(&byte, 1)) == 1)
                reply += static_cast<char>(byte);
        }
        EXPECT_EQ(reply.rfind("$VLTTX,SERIAL,", 0), 0u) << reply;
        EXPECT_TRUE(usb.IsOpen());
        // Refused once, then every exchange went through the one helper.
        EXPECT_EQ(drives.directCalls, 1);
        EXPECT_EQ(drives.startedFor, std::vector<std::string>{"/dev/sdr"});
        usb.UsbClose();
        ASSERT_EQ(drives.helpers.size(), 1u);
        drives.helpers.clear();  // joins: closing the transport ended the relay
    }
}

TEST(FallbackScsiDevice, StartsTheHelperOnlyWhenTheKernelRefuses)
{
    struct Case {
        int direct;
        bool helperStarts;
        int result;
    };
    const Case cases[] = {
        {0, false, 0},            // may send itself: works as before
        {ENODEV, false, ENODEV},  // unplugged: no helper could help
        {EIO, false, EIO},       {EPERM, true, 0}, {EACCES, true, 0},
    };
    for (const Case& c : cases) {
        int directCalls = 0;
        int starts = 0;
        int helperCalls = 0;
        FallbackScsiDevice device(std::make_unique<DirectDevice>(c.direct, &directCalls),
                                  "/dev/sdr",
                                  [&](const std::string&) -> std::unique_ptr<ScsiDevice> {
                                      ++starts;
                                      return std::make_unique<DirectDevice>(0, &helperCalls);
                                  });
        ScsiRequest request;
        EXPECT_EQ(device.Execute(request), c.result) << c.direct;
        EXPECT_EQ(device.Execute(request), c.result) << c.direct;
        EXPECT_EQ(device.UsesHelper(), c.helperStarts) << c.direct;
        EXPECT_EQ(starts, c.helperStarts ? 1 : 0) << c.direct;
        EXPECT_EQ(directCalls, c.helperStarts ? 1 : 2) << c.direct;
        EXPECT_EQ(helperCalls, c.helperStarts ? 2 : 0) << c.direct;
    }

    // No helper to be found: the kernel's refusal is what the caller learns.
    int directCalls = 0;
    FallbackScsiDevice without(std::make_unique<DirectDevice>(EACCES, &directCalls), "/dev/sdr",
                               [](const std::string&) { return std::unique_ptr<ScsiDevice>(); });
    ScsiRequest request;
    EXPECT_EQ(without.Execute(request), EACCES);
}

// The far end of a client's socket, played by the test.
struct ClientPair {
    int ends[2] = {-1, -1};
    std::unique_ptr<UsbAccessClient> client;
    ClientPair()
    {
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
        client = std::make_unique<UsbAccessClient>(ends[0], -1);
    }
    ~ClientPair()
    {
        client.reset();
        if (ends[1] >= 0)
            ::close(ends[1]);
    }
    void Send(std::span<const std::uint8_t> bytes)
    {
        EXPECT_EQ(::write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
};

TEST(UsbAccessClient, ReplyFramesAndTheirOutcomes)
{
    ClientPair pair;
    ua::Reply done;
    done.data[0] = rc::kUsbOpcode;
    done.data[1] = 2;
    done.scsiStatus = 0x02;
    pair.Send(ua::FormatReply(done));
    pair.Send(ua::FormatReply(ua::EmptyReply(ua::Outcome::Refused)));
    pair.Send(ua::FormatReply(ua::EmptyReply(ua::Outcome::Failed)));

    ScsiRequest request;
    request.cdb[0] = rc::kUsbOpcode;
    EXPECT_EQ(pair.client->Execute(request), 0);
    EXPECT_EQ(request.data[1], 2);
    EXPECT_EQ(request.status, 0x02);
    EXPECT_EQ(pair.client->Execute(request), EPERM);
    EXPECT_EQ(pair.client->Execute(request), EIO);

    // The helper saw each command block as it was given.
    std::uint8_t sent[3 * ua::kCommandFrameSize];
    ASSERT_EQ(::read(pair.ends[1], sent, sizeof sent), static_cast<ssize_t>(sizeof sent));
    EXPECT_EQ(sent[0], rc::kUsbOpcode);
    EXPECT_EQ(sent[2 * ua::kCommandFrameSize], rc::kUsbOpcode);
}

TEST(UsbAccessClient, GarbageOrAGoneHelperFailsEveryLaterExchange)
{
    {
        ClientPair pair;
        ua::ReplyFrame garbage = ua::FormatReply(ua::Reply{});
        garbage[ua::kOutcomeOffset] = 9;
        pair.Send(garbage);
        pair.Send(ua::FormatReply(ua::Reply{}));  // a good frame after it is not believed
        ScsiRequest request;
        EXPECT_EQ(pair.client->Execute(request), EIO);
        EXPECT_EQ(pair.client->Execute(request), EIO);
    }
    {
        // The helper ended (refused the node, or was killed): no signal ends
        // the program, the exchange fails.
        ClientPair pair;
        ::close(pair.ends[1]);
        pair.ends[1] = -1;
        ScsiRequest request;
        EXPECT_EQ(pair.client->Execute(request), EIO);
    }
    {
        // Half a reply and then silence until the helper closes.
        ClientPair pair;
        const ua::ReplyFrame frame = ua::FormatReply(ua::Reply{});
        pair.Send(std::span(frame).first(20));
        ::shutdown(pair.ends[1], SHUT_WR);
        ScsiRequest request;
        EXPECT_EQ(pair.client->Execute(request), EIO);
    }
}

void MakeExecutable(const std::filesystem::path& path, bool executable)
{
    std::ofstream(path) << "#!/bin/sh\n";
    std::filesystem::permissions(path, executable ? std::filesystem::perms::owner_all
                                                  : std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::owner_write);
}

TEST(FindUsbAccessHelper, ProgramFolderFirstThenTheAbsoluteFoldersOfPath)
{
    test::TempDir root("veltrin-helper-find");
    const auto program = root / "program";
    const auto plain = root / "plain";
    const auto first = root / "first";
    const auto second = root / "second";
    for (const auto& dir : {program, plain, first, second})
        std::filesystem::create_directories(dir);
    MakeExecutable(plain / kUsbAccessHelperName, false);
    MakeExecutable(second / kUsbAccessHelperName, true);
    std::filesystem::create_directories(first / kUsbAccessHelperName);  // a folder, not a program

    const std::string path =
        ":relative:" + plain.string() + ":" + first.string() + ":" + second.string();
    EXPECT_EQ(FindUsbAccessHelper(program.string(), path),
              (second / kUsbAccessHelperName).string());
    MakeExecutable(program / kUsbAccessHelperName, true);
    EXPECT_EQ(FindUsbAccessHelper(program.string(), path),
              (program / kUsbAccessHelperName).string());
    EXPECT_EQ(FindUsbAccessHelper("", plain.string()), "");
    EXPECT_EQ(FindUsbAccessHelper("", ""), "");
}

int RunHelper(const std::string& arguments)
{
    const std::string command =
        std::string(VELTRIN_USB_ACCESS) + " " + arguments + " </dev/null >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(UsbAccessHelperProgram, RefusesEverythingButTheRecordersNode)
{
    test::TempDir dir("veltrin-helper-run");
    const std::string file = (dir / "sdr").string();
    std::ofstream(file) << "not a disk";
    ::symlink("/dev/null", (dir / "sdq").c_str());
    EXPECT_EQ(RunHelper(""), 1);
    EXPECT_EQ(RunHelper("/dev/null /dev/null"), 1);
    EXPECT_EQ(RunHelper((dir / "missing").string()), 2);
    EXPECT_EQ(RunHelper(file), 3);
    EXPECT_EQ(RunHelper("/dev/null"), 3);
    EXPECT_EQ(RunHelper((dir / "sdq").string()), 3);  // a name that looks like a disk
}

TEST(UsbAccessHelperProgram, StartedFromPathAndEndedWithTheDevice)
{
    // Found in PATH and started on a node it refuses: the exchange fails
    // and closing the device reaps the helper.
    const char* saved = std::getenv("PATH");
    const std::string folder = std::filesystem::path(VELTRIN_USB_ACCESS).parent_path().string();
    ::setenv("PATH", folder.c_str(), 1);
    std::unique_ptr<ScsiDevice> helper = StartUsbAccessHelper("/dev/null");
    if (saved != nullptr)
        ::setenv("PATH", saved, 1);
    ASSERT_TRUE(helper);
    ScsiRequest request;
    request.cdb[0] = rc::kUsbOpcode;
    EXPECT_EQ(helper->Execute(request), EIO);
    helper.reset();
}

}  // namespace
}  // namespace veltrin
