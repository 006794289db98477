// Feeds arbitrary bytes to the command exchange as if the recorder sent them
// over its USB link, and checks what the exchange keeps against the lines
// taken straight from the bytes: a line ends at any CR or LF (runs of them
// give no empty lines), a line longer than the 511 characters the reply
// buffer holds is dropped up to its end, and every "$VLTTX" reply that
// ParseSentence accepts sets its value. The reply bytes arrive in exchanges of
// a size the input chooses, some of them empty or with a frame the transport
// must ignore.
//
// Input: one byte of options (low four bits: bytes per exchange; 0x10: give
// every line with a "*" its right checksum, so that mutated replies are
// still accepted; 0x20: every third exchange brings nothing; 0x40: every
// fourth exchange answers with a frame of the wrong tag), then the bytes.
#include "data/sentence.h"
#include "data/sentence_parser.h"
#include "recorder/drive_access.h"
#include "recorder/recorder_constants.h"
#include "recorder/recorder_info.h"
#include "recorder/recorder_session.h"

#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace rc = veltrin::recorder_constants;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

struct Options {
    std::size_t bytesPerExchange = 1;
    bool repairChecksums = false;
    bool emptyExchanges = false;
    bool wrongTags = false;
};

// The recorder's side: hands out the input's bytes exchange by exchange.
struct ReplySource {
    std::string_view bytes;
    std::size_t at = 0;
    std::size_t exchanges = 0;
    Options options;
};

class FuzzDevice final : public veltrin::ScsiDevice {
public:
    explicit FuzzDevice(ReplySource& source) : source_(source) {}

    int Execute(veltrin::ScsiRequest& request) override
    {
        const std::size_t exchange = ++source_.exchanges;
        request.data[0] = rc::kUsbOpcode;
        request.data[1] = 0;
        if (source_.options.wrongTags && exchange % 4 == 0) {
            request.data[0] = static_cast<std::uint8_t>(rc::kUsbOpcode + 1);
            request.data[1] = 15;
            return 0;
        }
        if (source_.options.emptyExchanges && exchange % 3 == 0)
            return 0;
        std::size_t count = 0;
        while (count < source_.options.bytesPerExchange && source_.at < source_.bytes.size()) {
            request.data[2 + count++] = static_cast<std::uint8_t>(source_.bytes[source_.at++]);
        }
        request.data[1] = static_cast<std::uint8_t>(count);
        return 0;
    }

private:
    ReplySource& source_;
};

class FuzzDrives final : public veltrin::DriveAccess {
public:
    explicit FuzzDrives(ReplySource& source) : source_(source) {}

    std::vector<veltrin::DiskDescriptor> ListDisks() override
    {
        return {{"/dev/sdq", true, rc::kRecorderVendorPrefix, rc::kRecorderProductPrefix, "2.10"}};
    }
    std::unique_ptr<veltrin::ScsiDevice> OpenDisk(const std::string&) override
    {
        return std::make_unique<FuzzDevice>(source_);
    }

private:
    ReplySource& source_;
};

// Writes the right checksum over the two characters after the first "*" of
// each line, as VerifyChecksum computes it.
void RepairChecksums(std::string& bytes)
{
    std::size_t first = 0;
    while (first < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", first);
        if (end == std::string::npos)
            end = bytes.size();
        const std::size_t stop = std::min(end, bytes.find('\0', first));
        std::size_t i = bytes.find_first_not_of(" \t", first);
        if (i < stop) {
            unsigned sum = 0;
            if (bytes[i] != '*') {
                for (++i; i < stop && bytes[i] != '*'; ++i)
                    sum ^= static_cast<unsigned char>(bytes[i]);
            }
            if (i + 2 < stop) {
                static constexpr char kHex[] = "0123456789ABCDEF";
                bytes[i + 1] = kHex[(sum >> 4) & 0xfU];
                bytes[i + 2] = kHex[sum & 0xfU];
            }
        }
        first = end + 1;
    }
}

bool SameReal(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Applies one reply line as the exchange should.
void ApplyLine(veltrin::RecorderInfo& info, std::string_view line)
{
    veltrin::Sentence sentence;
    if (!veltrin::ParseSentence(sentence, line) || sentence.kind != veltrin::SentenceKind::Tx)
        return;
    const veltrin::ReplyFields* reply = sentence.Get<veltrin::ReplyFields>();
    Check(reply != nullptr);
    const char* textEnd =
        static_cast<const char*>(std::memchr(reply->text, '\0', sizeof reply->text));
    Check(textEnd != nullptr);
    const std::string_view text(reply->text, static_cast<std::size_t>(textEnd - reply->text));
    switch (reply->key) {
    case veltrin::ReplyKey::Limits:
        info.maxNegativeLoad = reply->reals[0];
        info.maxPositiveLoad = reply->reals[1];
        info.maxSpeed = reply->reals[2];
        break;
    case veltrin::ReplyKey::Serial:
        Check(text.find_first_of(",*") == std::string_view::npos);
        info.serialNumber = std::string(text);
        break;
    case veltrin::ReplyKey::Version: info.version = static_cast<float>(reply->reals[0]); break;
    case veltrin::ReplyKey::Pass: info.passwordAccepted = reply->value == 1; break;
    case veltrin::ReplyKey::LfzSign:
        Check(text.find_first_of(",*") == std::string_view::npos);
        info.registration = std::string(text);
        break;
    default: break;
    }
}

veltrin::RecorderInfo ExpectedInfo(std::string_view bytes)
{
    veltrin::RecorderInfo info;
    std::string line;
    bool skipping = false;
    for (const char c : bytes) {
        if (c == '\r' || c == '\n') {
            if (!skipping && !line.empty())
                ApplyLine(info, line);
            line.clear();
            skipping = false;
        } else if (!skipping) {
            if (line.size() < rc::kMaxReplyChars) {
                line += c;
            } else {
                line.clear();
                skipping = true;
            }
        }
    }
    return info;  // a last line without its end is not taken
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    ReplySource source;
    source.options.bytesPerExchange = 1 + (data[0] & 0x0fU) % rc::kMaxBytesIn;
    source.options.repairChecksums = (data[0] & 0x10U) != 0;
    source.options.emptyExchanges = (data[0] & 0x20U) != 0;
    source.options.wrongTags = (data[0] & 0x40U) != 0;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (source.options.repairChecksums)
        RepairChecksums(bytes);
    source.bytes = bytes;

    veltrin::RecorderSession session(std::make_unique<FuzzDrives>(source),
                                     [](std::chrono::milliseconds) {});
    Check(session.Link().LinkOpen("USB"));
    // Each round runs at least two exchanges, and of any two rounds at least
    // one brings a byte: the bytes run out before this many rounds.
    for (std::size_t round = 0;; ++round) {
        Check(round <= 2 * bytes.size() + 16);
        session.ReadReplies();
        if (source.at == bytes.size() && !session.Link().LinkDataWaiting())
            break;
    }

    const veltrin::RecorderInfo got = session.GetRecorderInfo();
    const veltrin::RecorderInfo expected = ExpectedInfo(bytes);
    Check(SameReal(got.version, expected.version));
    Check(SameReal(got.maxNegativeLoad, expected.maxNegativeLoad));
    Check(SameReal(got.maxPositiveLoad, expected.maxPositiveLoad));
    Check(SameReal(got.maxSpeed, expected.maxSpeed));
    Check(got.serialNumber == expected.serialNumber);
    Check(got.registration == expected.registration);
    Check(got.passwordAccepted == expected.passwordAccepted);
    return 0;
}
