#include "shell/resources_init.h"

#include <QtGlobal>

// Outside any namespace: the macro declares the resource's registration function.
static void RegisterVeltrinResources()
{
    Q_INIT_RESOURCE(veltrin);
}

namespace veltrin {

void InitShellResources()
{
    static const bool registered = [] {
        RegisterVeltrinResources();
        return true;
    }();
    (void)registered;
}

QIcon ApplicationIcon()
{
    InitShellResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/veltrin-view-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace veltrin
