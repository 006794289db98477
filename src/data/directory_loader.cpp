#include "data/directory_loader.h"

#include "data/calendar.h"
#include "data/field_rules.h"

#include <algorithm>
#include <array>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace veltrin {

namespace {

constexpr char kDayLetter = 'D';
constexpr char kStartLetter = 'S';
constexpr int kCenturyYears = 2000;

enum class EntryType { Directory, File };

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    const auto less = [](char x, char y) {
        return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), less)) {
        return false;
    }
    return a < b;  // names equal but for case: keep a fixed order
}

void Tell(const DirectoryProblem& problem, const std::filesystem::path& path,
          std::error_code reason)
{
    if (problem) {
        problem(path, reason);
    }
}

// Names of the entries of `dir` of the given type whose first letter is
// `letter` in either case, in name order ignoring case. A directory that
// cannot be read lists nothing; `problem` is told of it and of entries whose
// type cannot be learnt. `listed` is false when `dir` could not be opened.
std::vector<std::string> ListEntries(const std::filesystem::path& dir, char letter, EntryType type,
                                     const DirectoryProblem& problem, bool* listed = nullptr)
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(dir, error);
    if (listed != nullptr) {
        *listed = !error;
    }
    const std::filesystem::directory_iterator end;
    if (error) {
        Tell(problem, dir, error);
        return names;
    }
    std::vector<std::pair<std::string, std::error_code>> unreadable;
    for (; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.empty() || Lower(name.front()) != Lower(letter)) {
            continue;
        }
        std::error_code typeError;
        // Data files are plain files: a device or pipe named like one is no start.
        const bool matches = type == EntryType::Directory ? it->is_directory(typeError)
                                                          : it->is_regular_file(typeError);
        if (typeError) {
            unreadable.emplace_back(std::move(name), typeError);
        } else if (matches) {
            names.push_back(std::move(name));
        }
    }
    if (error) {
        Tell(problem, dir, error);  // the listing broke off part way
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    // Told in name order, like the starts, whatever order the folder lists them in.
    std::sort(unreadable.begin(), unreadable.end(),
              [](const auto& a, const auto& b) { return LessIgnoringCase(a.first, b.first); });
    for (const auto& [name, reason] : unreadable) {
        Tell(problem, dir / name, reason);
    }
    return names;
}

// The three two-character pieces after the leading letter ("D250718" gives
// "25", "07", "18"); false when the name is too short for all three.
bool SplitName(std::string_view name, std::array<std::string_view, 3>& pieces)
{
    for (std::size_t index = 0; index < pieces.size(); ++index) {
        const std::size_t begin = 1 + 2 * index;
        if (begin >= name.size()) {
            return false;
        }
        pieces[index] = name.substr(begin, 2);
    }
    return true;
}

bool StartsWithDigit(std::string_view piece)
{
    return !piece.empty() && piece.front() >= '0' && piece.front() <= '9';
}

}  // namespace

void LoadDirectory(const std::filesystem::path& base, Recording& recording)
{
    LoadDirectory(base, recording, {});
}

bool LoadDirectory(const std::filesystem::path& base, Recording& recording,
                   const DirectoryProblem& problem)
{
    recording.clear();
    bool listed = false;
    for (const std::string& name :
         ListEntries(base, kDayLetter, EntryType::Directory, problem, &listed)) {
        ScanDayDirectory(base, name, recording, problem);
    }
    return listed;
}

void ScanDayDirectory(const std::filesystem::path& base, std::string_view dayName,
                      Recording& recording, const DirectoryProblem& problem)
{
    std::array<std::string_view, 3> pieces;
    if (!SplitName(dayName, pieces)) {
        return;
    }
    const int year = ReadIntField(pieces[0]);
    const int month = ReadIntField(pieces[1]);
    const int day = ReadIntField(pieces[2]);
    if (year <= 0 || month <= 0 || day <= 0) {
        return;
    }
    const std::filesystem::path dayDir = base / std::filesystem::path(dayName);
    for (const std::string& name : ListEntries(dayDir, kStartLetter, EntryType::File, problem)) {
        AddStartFile(dayDir, name, recording, day, month, year);
    }
}

void AddStartFile(const std::filesystem::path& dayDir, std::string_view fileName,
                  Recording& recording, int day, int month, int year)
{
    std::array<std::string_view, 3> pieces;
    if (!SplitName(fileName, pieces)) {
        return;
    }
    const int hour = ReadIntField(pieces[0]);
    const int minute = ReadIntField(pieces[1]);
    const int second = ReadIntField(pieces[2]);
    // Hour 0 is a start in the first hour of the UTC day; only a name whose
    // hour piece holds no number at all (such as "SETUP.TXT") is no start.
    const bool hourValid = hour > 0 || (hour == 0 && StartsWithDigit(pieces[0]));
    if (!hourValid || minute < 0 || second < 0) {
        return;
    }
    CivilTime time;
    time.year = kCenturyYears + year;
    time.month = month;
    time.day = day;
    time.hour = hour;
    time.minute = minute;
    time.second = second;

    // Built in place: a start's empty sequences already own memory, so a
    // moved-in copy would cost twice.
    StartRecord& start = recording.emplace_back();
    start.path = dayDir / std::filesystem::path(fileName);
    start.startTime = ToCalendarSeconds(time);
}

}  // namespace veltrin
