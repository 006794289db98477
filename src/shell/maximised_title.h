#pragma once
// Keeps a maximised graph window from adding "- [its title]" to the main
// window's title, which already names the active graph window.

#include <QTranslator>

namespace veltrin {

// Answers only the sub-window's "- [%1]" suffix, with "%1": a main window
// title that names the maximised window then stays as it is. Every other
// text is left to Qt.
class MaximisedTitleTranslator final : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override;
    bool isEmpty() const override { return false; }
};

}  // namespace veltrin
