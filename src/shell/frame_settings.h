#pragma once
// The three user settings that survive a restart, and where they are kept.

#include <QString>

#include <string>
#include <string_view>
#include <vector>

class QSettings;

namespace veltrin {

// Values as held by the main frame during a run.
struct FrameSettings {
    QString port;              // "Comport": serial port of the recorder
    QString baseDir;           // "BaseDir": data directory loaded at start-up
    bool extendedKml = false;  // "Extended KML": the KML export's extended document
};

// Reads the settings from the group "Settings" of `store`; a missing value
// takes its default. Any non-zero "Extended KML" reads as true.
FrameSettings ReadFrameSettings(QSettings& store);

// Writes all three settings to the group "Settings"; "Extended KML" as 0 or 1.
void WriteFrameSettings(QSettings& store, const FrameSettings& settings);

// The default serial port of this platform.
QString DefaultPort();

// The default data directory: the first "VELT" folder at the top of a mounted
// removable volume, else "/VELT".
QString DefaultBaseDirectory();

// The default data directory among `mountPoints`: the card folder that
// FindCardDataDirectory finds under `roots`, else "/VELT".
QString DefaultBaseDirectoryAmong(const std::vector<std::string>& mountPoints,
                                  const std::vector<std::string>& roots);

// The mount points listed in /proc/self/mountinfo text, in listed order, with
// their octal escapes ("\040" for a blank) decoded.
std::vector<std::string> MountPointsFromMountInfo(std::string_view mountInfo);

// Where removable volumes are mounted for `user`, in the order searched:
// /media/user, /run/media/user, /media, /mnt.
std::vector<std::string> RemovableMediaRoots(const std::string& user);

// The first "VELT" folder (name compared ignoring case) directly inside one of
// `mountPoints` that lies at or under one of `roots`, roots taken in order.
// Empty when there is none.
std::string FindCardDataDirectory(const std::vector<std::string>& mountPoints,
                                  const std::vector<std::string>& roots);

}  // namespace veltrin
