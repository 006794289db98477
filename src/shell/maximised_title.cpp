#include "shell/maximised_title.h"

#include <cstring>

namespace veltrin {

QString MaximisedTitleTranslator::translate(const char* context, const char* sourceText,
                                            const char* /*disambiguation*/, int /*n*/) const
{
    // A maximised sub-window adds "- [its title]" to the top-level window's
    // title unless that title already holds this suffix. Asking for the
    // sub-window's bare title instead leaves the frame's title alone, as it
    // names the active window.
    if (context && sourceText && std::strcmp(context, "QMdiSubWindow") == 0 &&
        std::strcmp(sourceText, "- [%1]") == 0)
        return QStringLiteral("%1");
    return {};
}

}  // namespace veltrin
