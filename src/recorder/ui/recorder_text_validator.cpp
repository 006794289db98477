#include "recorder/ui/recorder_text_validator.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace veltrin {

QValidator* MakeRecorderTextValidator(QObject* parent)
{
    static const QRegularExpression kAllowed(
        QStringLiteral("[\\x{20}-\\x{23}\\x{25}-\\x{29}\\x{2B}\\x{2D}-\\x{7E}\\x{A0}-\\x{FF}]*"));
    return new QRegularExpressionValidator(kAllowed, parent);
}

}  // namespace veltrin
