#include "recorder/serial_port.h"

#include <QSerialPortInfo>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrin {
namespace {

TEST(PackPortList, RegressionPortListOverrun)
{
    const std::vector<std::string> names = {"ttyS0", "ttyUSB0", "ttyS1"};
    struct Case {
        std::size_t listSize;
        int count;
        std::string list;  // the bytes written, closing zero included
    };
    const Case cases[] = {
        {32, 3, std::string("ttyS0\0ttyUSB0\0ttyS1\0\0", 21)},
        {21, 3, std::string("ttyS0\0ttyUSB0\0ttyS1\0\0", 21)},
        // One byte short for "ttyS1" and the closing zero: it is skipped, not
        // written past the end.
        {20, 2, std::string("ttyS0\0ttyUSB0\0\0", 15)},
        {12, 1, std::string("ttyS0\0\0", 7)},  // "ttyUSB0" does not fit, "ttyS1" not either
        {7, 1, std::string("ttyS0\0\0", 7)},
        {6, 0, std::string("\0", 1)},
        {1, 0, std::string("\0", 1)},
    };
    for (const Case& c : cases) {
        std::string buffer(c.listSize + 8, '#');
        EXPECT_EQ(PackPortList(names, buffer.data(), c.listSize), c.count) << c.listSize;
        EXPECT_EQ(buffer.substr(0, c.list.size()), c.list) << c.listSize;
        // Nothing beyond the list's capacity is touched.
        EXPECT_EQ(buffer.substr(c.listSize), std::string(8, '#')) << c.listSize;
    }
    EXPECT_EQ(PackPortList(names, nullptr, 0), 0);
}

TEST(SerialPort, EnumeratesWhatTheSystemLists)
{
    std::vector<std::string> expected;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        expected.push_back(info.portName().toStdString());
    EXPECT_EQ(SerialPort::EnumeratePortNames(64 * 1024), expected);

    const std::vector<std::string> names = SerialPort::EnumeratePortNames();
    std::size_t used = 1;
    for (const std::string& name : names)
        used += name.size() + 1;
    EXPECT_LE(used, 256u);
}

}  // namespace
}  // namespace veltrin
