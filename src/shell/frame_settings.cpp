#include "shell/frame_settings.h"

#include <QSettings>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace veltrin {

namespace {

constexpr auto kGroup = "Settings";
constexpr auto kPortKey = "Comport";
constexpr auto kBaseDirKey = "BaseDir";
constexpr auto kExtendedKmlKey = "Extended KML";
constexpr auto kFallbackBaseDir = "/VELT";
constexpr auto kDataFolderName = "VELT";

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Mount info escapes blanks, tabs, newlines and backslashes as "\ooo".
std::string DecodeOctalEscapes(std::string_view field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const auto isOctal = [](char c) {
                return c >= '0' && c <= '7';
            };
            if (isOctal(field[i + 1]) && isOctal(field[i + 2]) && isOctal(field[i + 3])) {
                out.push_back(static_cast<char>((field[i + 1] - '0') * 64 +
                                                (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

bool IsUnder(const std::string& path, const std::string& root)
{
    if (path == root)
        return true;
    return path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
           path[root.size()] == '/';
}

std::string DataFolderIn(const std::string& mountPoint)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(mountPoint, error), end; !error && it != end;
         it.increment(error)) {
        if (EqualsIgnoringCase(it->path().filename().string(), kDataFolderName) &&
            it->is_directory(error))
            return it->path().string();
    }
    return {};
}

}  // namespace

FrameSettings ReadFrameSettings(QSettings& store)
{
    store.beginGroup(QString::fromLatin1(kGroup));
    FrameSettings settings;
    settings.port = store.value(QString::fromLatin1(kPortKey), DefaultPort()).toString();
    const QVariant baseDir = store.value(QString::fromLatin1(kBaseDirKey));
    settings.baseDir = baseDir.isValid() ? baseDir.toString() : DefaultBaseDirectory();
    settings.extendedKml = store.value(QString::fromLatin1(kExtendedKmlKey), 0).toInt() != 0;
    store.endGroup();
    return settings;
}

void WriteFrameSettings(QSettings& store, const FrameSettings& settings)
{
    store.beginGroup(QString::fromLatin1(kGroup));
    store.setValue(QString::fromLatin1(kPortKey), settings.port);
    store.setValue(QString::fromLatin1(kBaseDirKey), settings.baseDir);
    store.setValue(QString::fromLatin1(kExtendedKmlKey), settings.extendedKml ? 1 : 0);
    store.endGroup();
    store.sync();
}

QString DefaultPort()
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM1");
#else
    return QStringLiteral("ttyS0");
#endif
}

std::vector<std::string> MountPointsFromMountInfo(std::string_view mountInfo)
{
    // Each line: id parent major:minor root mount-point options ...
    std::vector<std::string> mountPoints;
    std::istringstream lines{std::string(mountInfo)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string field;
        for (int i = 0; i < 5 && fields >> field; ++i) {
            if (i == 4)
                mountPoints.push_back(DecodeOctalEscapes(field));
        }
    }
    return mountPoints;
}

std::vector<std::string> RemovableMediaRoots(const std::string& user)
{
    std::vector<std::string> roots;
    if (!user.empty()) {
        roots.push_back("/media/" + user);
        roots.push_back("/run/media/" + user);
    }
    roots.push_back("/media");
    roots.push_back("/mnt");
    return roots;
}

std::string FindCardDataDirectory(const std::vector<std::string>& mountPoints,
                                  const std::vector<std::string>& roots)
{
    for (const std::string& root : roots) {
        for (const std::string& mountPoint : mountPoints) {
            if (!IsUnder(mountPoint, root))
                continue;
            const std::string folder = DataFolderIn(mountPoint);
            if (!folder.empty())
                return folder;
        }
    }
    return {};
}

QString DefaultBaseDirectoryAmong(const std::vector<std::string>& mountPoints,
                                  const std::vector<std::string>& roots)
{
    const std::string folder = FindCardDataDirectory(mountPoints, roots);
    return QString::fromStdString(folder.empty() ? std::string(kFallbackBaseDir) : folder);
}

QString DefaultBaseDirectory()
{
#ifdef Q_OS_WIN
    return QStringLiteral("\\VELT");
#else
    std::ifstream file("/proc/self/mountinfo");
    std::stringstream text;
    text << file.rdbuf();
    const char* user = std::getenv("USER");
    return DefaultBaseDirectoryAmong(MountPointsFromMountInfo(text.str()),
                                     RemovableMediaRoots(user ? user : ""));
#endif
}

}  // namespace veltrin
