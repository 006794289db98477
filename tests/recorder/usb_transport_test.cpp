#include "recorder/usb_transport.h"
#include "recorder/byte_ring_buffer.h"
#include "scripted_drive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrin {
namespace {

using testing::RecorderDescriptor;
using testing::ScriptedDisk;
using testing::ScriptedDriveAccess;

std::span<const std::uint8_t> Bytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct UsbFixture : ::testing::Test {
    std::shared_ptr<ScriptedDisk> disk = std::make_shared<ScriptedDisk>();
    UsbTransport usb{std::make_unique<ScriptedDriveAccess>(disk)};

    void SetUp() override { disk->disks = {RecorderDescriptor()}; }

    std::string ReadAll()
    {
        std::string text;
        std::uint8_t byte = 0;
        for (int polls = 0; polls < 1000 && usb.UsbDataWaiting(); ++polls) {
            if (usb.UsbRead(std::span(&byte, 1)) == 1)
                text += static_cast<char>(byte);
        }
        return text;
    }
};

TEST(ByteRingBuffer, HoldsAtMost255BytesInOrderAcrossTheWrap)
{
    ByteRingBuffer ring;
    int taken = 0;
    while (ring.Put(static_cast<std::uint8_t>(taken)))
        ++taken;
    EXPECT_EQ(taken, 255);
    EXPECT_TRUE(ring.IsFull());
    EXPECT_EQ(ring.FreeSpace(), 0u);

    // Drain part, refill across the end of the array, and check the order.
    std::uint8_t byte = 0;
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(ring.Get(byte));
    EXPECT_EQ(byte, 199);
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(ring.Put(static_cast<std::uint8_t>(i)));
    EXPECT_FALSE(ring.Put(0));
    for (int i = 200; i < 255; ++i) {
        ASSERT_TRUE(ring.Get(byte));
        EXPECT_EQ(byte, i);
    }
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(ring.Get(byte));
        EXPECT_EQ(byte, i);
    }
    EXPECT_FALSE(ring.Get(byte));
    EXPECT_TRUE(ring.IsEmpty());
}

TEST(IsRecorderDrive, NeedsUsbVendorProductAndRevisionFrom21)
{
    struct Case {
        bool usb;
        const char* vendor;
        const char* product;
        const char* revision;
        bool taken;
    };
    const Case cases[] = {
        {true, "Quon    ", "Veltrin V2      ", "2.10", true},
        {true, "Quon ", "Veltrin V2 ", "2.1", true},
        {true, "Quon    ", "Veltrin V2      ", "3.00", true},
        {true, "Quon    ", "Veltrin V2      ", "2.0", false},
        {true, "Quon    ", "Veltrin V2      ", "2.09", false},
        {true, "Quon    ", "Veltrin V2      ", "", false},
        {true, "Quon    ", "Veltrin V2      ", "x2.5", false},
        {false, "Quon    ", "Veltrin V2      ", "2.10", false},
        {true, "Quon", "Veltrin V2      ", "2.10", false},      // no blank after the vendor
        {true, "quon    ", "Veltrin V2      ", "2.10", false},  // letter case counts
        {true, "Quon    ", "Veltrin V20     ", "2.10", false},
        {true, "Quon    ", "Veltrin V1      ", "2.10", false},
    };
    for (const Case& c : cases) {
        const DiskDescriptor disk{"/dev/sdz", c.usb, c.vendor, c.product, c.revision};
        EXPECT_EQ(IsRecorderDrive(disk), c.taken)
            << c.vendor << "|" << c.product << "|" << c.revision << "|" << c.usb;
    }
}

TEST_F(UsbFixture, FindRecorderDriveTakesTheLastMatch)
{
    DiskDescriptor old = RecorderDescriptor("/dev/sdc");
    old.revision = "2.0";
    disk->disks = {RecorderDescriptor("/dev/sdb"), old, RecorderDescriptor("/dev/sdd"),
                   DiskDescriptor{"/dev/sde", true, "Other   ", "Stick", "1.00"}};
    EXPECT_EQ(usb.FindRecorderDrive(), "/dev/sdd");
    disk->disks = {old};
    EXPECT_EQ(usb.FindRecorderDrive(), "");
    EXPECT_FALSE(usb.UsbOpen());
}

TEST_F(UsbFixture, ExchangeSendsUpToTenBytesPerCommand)
{
    ASSERT_TRUE(usb.UsbOpen());
    EXPECT_TRUE(usb.UsbWrite(Bytes("$VLTCM,VERSION*36\n")));
    EXPECT_EQ(disk->received, "$VLTCM,VER");
    EXPECT_FALSE(usb.UsbDataWaiting());
    EXPECT_EQ(disk->received, "$VLTCM,VERSION*36\n");
}

TEST_F(UsbFixture, ReplyLongerThanOneExchangeArrivesWhole)
{
    ASSERT_TRUE(usb.UsbOpen());
    const std::string reply = "$VLTTX,SERIAL,SN4711-LONG-NUMBER*00\r\n";
    disk->Queue(reply);
    EXPECT_EQ(ReadAll(), reply);
    EXPECT_GT(disk->exchanges, 3);
}

TEST_F(UsbFixture, RegressionReplyBytesLostWhenMoreArriveThanTheBufferHolds)
{
    ASSERT_TRUE(usb.UsbOpen());
    std::string reply;
    for (int i = 0; i < 40; ++i)
        reply += "0123456789";
    disk->Queue(reply);
    EXPECT_EQ(ReadAll(), reply);
}

TEST_F(UsbFixture, MalformedResponseAddsNothing)
{
    ASSERT_TRUE(usb.UsbOpen());
    disk->Queue("$VLTTX,PASS,1*00\r\n");
    disk->tag = 0x98;
    EXPECT_FALSE(usb.UsbDataWaiting());
    disk->tag.reset();
    disk->count = 16;
    EXPECT_FALSE(usb.UsbDataWaiting());
    disk->count = 255;
    EXPECT_FALSE(usb.UsbDataWaiting());
    EXPECT_TRUE(usb.Incoming().IsEmpty());
}

TEST_F(UsbFixture, WriteOf300BytesKeepsWhatFitsAndReportsFailure)
{
    // Without an open drive nothing drains the outgoing buffer.
    ASSERT_TRUE(usb.UsbWrite(Bytes("0123456789")));
    const std::string big(300, 'x');
    EXPECT_FALSE(usb.UsbWrite(Bytes(big)));
    EXPECT_EQ(usb.Outgoing().Count(), 255u);

    ASSERT_TRUE(usb.UsbOpen());
    ReadAll();  // opening starts clean: the stale bytes are not sent
    EXPECT_EQ(disk->received, "");
}

TEST_F(UsbFixture, RegressionUnpluggedUsbRecorderStayedOpen)
{
    ASSERT_TRUE(usb.UsbOpen());
    disk->failWith = ENODEV;
    EXPECT_FALSE(usb.UsbDataWaiting());
    EXPECT_FALSE(usb.IsOpen());
    EXPECT_EQ(disk->openHandles, 0);
    const int exchanges = disk->exchanges;
    EXPECT_FALSE(usb.UsbDataWaiting());  // closed: no further exchange
    EXPECT_EQ(disk->exchanges, exchanges);

    disk->failWith = 0;
    disk->Queue("ok");
    ASSERT_TRUE(usb.UsbOpen());
    EXPECT_EQ(ReadAll(), "ok");
}

}  // namespace
}  // namespace veltrin

namespace veltrin {
namespace {

TEST(SystemDriveAccess, ListsWholeDisksAndRefusesMissingNodes)
{
    const std::unique_ptr<DriveAccess> drives = CreateSystemDriveAccess();
    for (const DiskDescriptor& disk : drives->ListDisks())
        EXPECT_EQ(disk.node.rfind("/dev/", 0), 0u) << disk.node;
    EXPECT_EQ(drives->OpenDisk("/nonexistent/sdx"), nullptr);
}

}  // namespace
}  // namespace veltrin
