#include "data/start_data_stream.h"

#include "data/plain_sample_line.h"
#include "data/sentence_parser.h"
#include "data/start_rules.h"

#include <algorithm>
#include <cstring>

namespace veltrin {

StartDataStream::StartDataStream(StartRecord& start, const StartReadOptions& options)
    : start_(start), options_(options)
{
    start_.samples.clear();
    start_.fixes.clear();
    start_.minAccZ = 0.0;
    start_.maxAccZ = 0.0;
    start_.maxIas = 0.0;
    start_.maxAltitude = 0.0;
    start_.landingTime = 0;
    start_.landingIsTimeOfDay = false;
}

void StartDataStream::Feed(std::string_view bytes)
{
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    if (p == end) {
        return;
    }
    if (heldCarriageReturn_) {
        heldCarriageReturn_ = false;
        if (*p != '\n') {
            Append("\r", 1);  // a lone CR is text
        }
    }
    while (p < end) {
        const auto* newline =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (newline == nullptr) {
            const char* stop = end;
            if (stop[-1] == '\r') {
                heldCarriageReturn_ = true;
                --stop;
            }
            Append(p, static_cast<std::size_t>(stop - p));
            return;
        }
        const char* lineEnd = newline;
        if (lineEnd > p && lineEnd[-1] == '\r') {
            --lineEnd;
        }
        const auto length = static_cast<std::size_t>(lineEnd - p);
        if (pieceLength_ == 0 && length <= kMaxLinePiece) {
            HandlePiece(std::string_view(p, length));  // the common case: no copy
        } else {
            Append(p, length);
            HandlePiece(std::string_view(piece_, pieceLength_));
            pieceLength_ = 0;
        }
        p = newline + 1;
    }
}

void StartDataStream::Finish()
{
    if (heldCarriageReturn_) {
        heldCarriageReturn_ = false;
        Append("\r", 1);
    }
    if (pieceLength_ > 0) {
        HandlePiece(std::string_view(piece_, pieceLength_));
        pieceLength_ = 0;
    }
    if (!options_.keepSamples) {
        start_.samples.clear();
    }
}

void StartDataStream::Append(const char* data, std::size_t count)
{
    while (count > 0) {
        const std::size_t take = std::min(count, kMaxLinePiece - pieceLength_);
        std::memcpy(piece_ + pieceLength_, data, take);
        pieceLength_ += take;
        data += take;
        count -= take;
        if (pieceLength_ == kMaxLinePiece) {
            HandlePiece(std::string_view(piece_, pieceLength_));
            pieceLength_ = 0;
        }
    }
}

void StartDataStream::HandlePiece(std::string_view piece)
{
    // Every sentence the reader uses starts with "$"; anything else is skipped unparsed.
    if (piece.empty() || piece.front() != '$') {
        return;
    }
    // Nearly every line is a data sample of the plain form. Whatever follows
    // its checksum digits is ignored, so the piece needs no trimming for it.
    DrFields sample;
    if (ReadPlainSampleLine(piece, sample)) {
        AddSample(sample);
        return;
    }
    // The text ends at a NUL; then trailing line-end characters and blanks go.
    if (const void* nul = std::memchr(piece.data(), '\0', piece.size())) {
        piece =
            piece.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - piece.data()));
    }
    while (!piece.empty() &&
           (piece.back() == '\n' || piece.back() == '\r' || piece.back() == ' ')) {
        piece.remove_suffix(1);
    }
    ParseSentence(sentence_, piece);
    if (const DrFields* dr = sentence_.Get<DrFields>()) {
        AddSample(*dr);
    } else if (const GgaFields* gga = sentence_.Get<GgaFields>()) {
        AddFix(*gga);
    } else if (const LdFields* ld = sentence_.Get<LdFields>()) {
        ApplyLandingRule(start_, ld->landingHhmmss);
    }
}

void StartDataStream::AddSample(const DrFields& dr)
{
    Sample sample;
    sample.timeMs = dr.timeMs;
    sample.accX = dr.accX;
    sample.accY = dr.accY;
    sample.accZ = dr.accZ;
    sample.ias = dr.ias;
    sample.altitude = static_cast<double>(dr.altitude);
    ApplyEventRule(sample, dr.flags, lastEventMs_);
    ApplyStatistics(start_, sample);
    altitude_ = dr.altitude;
    ias_ = sample.ias;
    accZ_ = sample.accZ;
    ++sampleCount_;
    if (options_.observer != nullptr) {
        options_.observer->OnSample(sample);
    }
    // Without keeping the samples, the first one stays until Finish: the
    // statistics take an empty list for "no sample yet".
    if (options_.keepSamples || start_.samples.empty()) {
        start_.samples.push_back(sample);
    }
}

void StartDataStream::AddFix(const GgaFields& gga)
{
    GpsFix fix;
    fix.valid = gga.fixQuality > 0;
    fix.utcTime = gga.timeOfDay;
    fix.latitude = gga.latitude;
    fix.longitude = gga.longitude;
    fix.gpsAltitude = gga.altitude;
    fix.altitude = static_cast<double>(altitude_);
    fix.ias = ias_;
    fix.accZ = accZ_;
    fix.sampleIndex = sampleCount_ - 1;
    if (options_.keepSamples) {
        start_.fixes.push_back(fix);
    }
}

void LoadStartDataFromBytes(StartRecord& start, std::string_view bytes)
{
    StartDataStream stream(start);
    stream.Feed(bytes);
    stream.Finish();
    start.loaded = true;
}

}  // namespace veltrin
