#include "shell/file_system_path.h"

#include <QFile>

namespace veltrin {

std::filesystem::path FileSystemPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace veltrin
