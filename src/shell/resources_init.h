#pragma once
// Access to the program's compiled-in resources: icons, tool bar images, help text.

#include <QIcon>

namespace veltrin {

// Registers the resources; safe to call more than once.
void InitShellResources();

// The application icon in all its sizes.
QIcon ApplicationIcon();

}  // namespace veltrin
