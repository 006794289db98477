#include "track/tile_server_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace veltrin {

TileServerDialog::TileServerDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TileServerDialog"));
    setWindowTitle(QStringLiteral("Karte"));
    url_ = new QLineEdit(this);
    url_->setPlaceholderText(QStringLiteral("https://tile.example.org/{z}/{x}/{y}.png"));
    url_->setMinimumWidth(url_->fontMetrics().horizontalAdvance(url_->placeholderText()) + 40);
    attribution_ = new QLineEdit(this);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Kartenserver:"), url_);
    form->addRow(QStringLiteral("Quellenangabe:"), attribution_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons_);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(url_, &QLineEdit::textChanged, this, &TileServerDialog::UpdateOk);
    UpdateOk();
}

void TileServerDialog::SetValues(const QString& urlTemplate, const QString& attribution)
{
    url_->setText(urlTemplate);
    attribution_->setText(attribution);
}

QString TileServerDialog::UrlTemplate() const
{
    return url_->text().trimmed();
}

QString TileServerDialog::Attribution() const
{
    return attribution_->text().trimmed();
}

bool TileServerDialog::Usable(const QString& urlTemplate)
{
    const QString trimmed = urlTemplate.trimmed();
    if (trimmed.isEmpty())
        return true;
    for (const char* part : {"{z}", "{x}", "{y}"})
        if (!trimmed.contains(QLatin1String(part)))
            return false;
    const QUrl url(trimmed);
    return url.isValid() && !url.isRelative();
}

void TileServerDialog::UpdateOk()
{
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(Usable(url_->text()));
}

}  // namespace veltrin
