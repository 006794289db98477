#include "report_test_support.h"

#include "data/number_format.h"
#include "data/start_reader.h"
#include "export/data_file_start.h"
#include "support/framed_sentence.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>

namespace veltrin::test {

namespace {

// The standard output of `command`; "" when it fails.
std::string Output(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return {};
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        text.append(buffer, n);
    return text;
}

std::string Quoted(const std::filesystem::path& path)
{
    std::string quoted(1, '\'');
    quoted += path.string();
    quoted += '\'';
    return quoted;
}

}  // namespace

void WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    for (const std::string& line : lines)
        out << line << "\r\n";
    ASSERT_TRUE(out.good()) << path;
}

std::vector<std::string> EventfulStart()
{
    std::vector<std::string> lines;
    for (int tenth = 0; tenth <= 6000; ++tenth) {
        const double t = tenth / 10.0;
        double accZ = 1.0;
        double ias = 120.0 + t / 10.0;  // 120 to 180 km/h
        int flags = 0;
        if (tenth >= 1000 && tenth <= 1003) {  // the first event
            accZ = 6.2 - (tenth - 1000) * 0.5;
            flags = 1;
        }
        if (tenth == 4000) {  // the second
            accZ = -2.4;
            ias = 265.5;
            flags = 1;
        }
        lines.push_back(SampleLine(t, accZ, ias, 300 + tenth / 10, flags));
    }
    lines.push_back(LandingLine(600.0, 144000));
    return lines;
}

StartRecord ReadMadeStart(const std::filesystem::path& path)
{
    std::optional<StartRecord> start = StartForDataFile(path);
    EXPECT_TRUE(start.has_value()) << path;
    if (!start)
        return {};
    EXPECT_TRUE(ReadStartData(*start).Ok()) << path;
    return *start;
}

std::string PdfText(const std::filesystem::path& pdf)
{
    return Output("pdftotext -layout " + Quoted(pdf) + " - 2>/dev/null");
}

int PdfPages(const std::filesystem::path& pdf)
{
    const std::string info = Output("pdfinfo " + Quoted(pdf) + " 2>/dev/null");
    const auto at = info.find("Pages:");
    if (at == std::string::npos)
        return -1;
    return std::stoi(info.substr(at + 6));
}

int Count(const std::string& text, const std::string& needle)
{
    int n = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

}  // namespace veltrin::test
