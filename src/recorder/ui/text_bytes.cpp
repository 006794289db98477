#include "recorder/ui/text_bytes.h"

#include <QByteArray>
#include <QStringDecoder>

namespace veltrin {

std::string BytesFromText(const QString& text)
{
    return text.toLatin1().toStdString();
}

QString TextFromBytes(std::string_view bytes)
{
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(raw);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(raw);
}

}  // namespace veltrin
