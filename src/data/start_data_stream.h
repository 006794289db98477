#pragma once
// Turns the bytes of a start's data file into its samples, fixes, statistics
// and landing time, block by block, taking lines exactly as the file reader
// does. LoadStartData feeds it from the file; it can be fed from memory too.

#include "data/recording.h"
#include "data/sentence.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace veltrin {

// Longest piece of a line handled at once; longer lines arrive in pieces of
// this many characters, each taken as a line of its own.
inline constexpr std::size_t kMaxLinePiece = 255;

// Sees every sample of a start as it is read, in file order, with its event
// mark and flag set.
class SampleObserver {
public:
    virtual ~SampleObserver() = default;
    virtual void OnSample(const Sample& sample) = 0;
};

// How a start's file is read: whether its samples and fixes are kept, and who
// sees the samples on the way.
struct StartReadOptions {
    SampleObserver* observer = nullptr;
    // False: the start keeps no samples and no fixes, the observer still sees
    // every sample, and the statistics and landing time are still set.
    bool keepSamples = true;
};

class StartDataStream {
public:
    // Empties the start's samples, fixes, statistics and landing time.
    explicit StartDataStream(StartRecord& start, const StartReadOptions& options = {});

    // Takes the next bytes of the file. Lines end with LF or CR LF and may
    // span blocks.
    void Feed(std::string_view bytes);
    // Handles a last line that has no line end. Call once, after the last Feed.
    void Finish();

private:
    void Append(const char* data, std::size_t count);
    void HandlePiece(std::string_view piece);
    void AddSample(const DrFields& dr);
    void AddFix(const GgaFields& gga);

    StartRecord& start_;
    StartReadOptions options_;
    char piece_[kMaxLinePiece];
    std::size_t pieceLength_ = 0;
    bool heldCarriageReturn_ = false;  // a block ended in CR; the next byte decides

    // Recorder values current at this point of the file, copied into each fix.
    int altitude_ = 0;
    double ias_ = 0.0;
    double accZ_ = 1.0;
    std::ptrdiff_t sampleCount_ = 0;  // samples read so far, kept or not
    std::int32_t lastEventMs_ = 0;

    Sentence sentence_;
};

// Reads `bytes` as the whole content of the start's data file and marks the
// start loaded.
void LoadStartDataFromBytes(StartRecord& start, std::string_view bytes);

}  // namespace veltrin
