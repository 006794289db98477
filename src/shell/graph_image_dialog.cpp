#include "shell/graph_image_dialog.h"

#include "export/dialogs/export_file_dialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace veltrin {

namespace {

constexpr const char* kDialogTitle = "Grafik speichern";
constexpr const char* kWhichTitle = "Grafik";
constexpr const char* kActiveGraphText = "&Aktive Grafik";
constexpr const char* kAllGraphsText = "A&lle Grafiken untereinander";
constexpr const char* kWidthTitle = "Breite";
constexpr const char* kWindowSizeText = "&Fenstergröße";
constexpr const char* kChosenWidthText = "&Breite:";
constexpr const char* kPixelSuffix = " Pixel";
constexpr const char* kCancelText = "Abbrechen";

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

bool HasImageSuffix(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(ImageSuffix(ImageFormat::Png), Qt::CaseInsensitive) == 0 ||
           suffix.compare(ImageSuffix(ImageFormat::Svg), Qt::CaseInsensitive) == 0;
}

}  // namespace

ImageFormat ImageFormatOf(const QString& path)
{
    return QFileInfo(path).suffix().compare(ImageSuffix(ImageFormat::Svg), Qt::CaseInsensitive) == 0
               ? ImageFormat::Svg
               : ImageFormat::Png;
}

QString ImageSuffix(ImageFormat format)
{
    return format == ImageFormat::Svg ? QStringLiteral("svg") : QStringLiteral("png");
}

QString WithImageSuffix(const QString& path, ImageFormat format)
{
    if (HasImageSuffix(path))
        return path;
    return path + QLatin1Char('.') + ImageSuffix(format);
}

GraphImageDialog::GraphImageDialog(const GraphImageOptions& initial, int windowWidth,
                                   QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("GraphImageDialog"));
    setWindowTitle(Text(kDialogTitle));

    auto* which = new QGroupBox(Text(kWhichTitle), this);
    activeGraph_ = new QRadioButton(Text(kActiveGraphText), which);
    allGraphs_ = new QRadioButton(Text(kAllGraphsText), which);
    auto* whichLayout = new QVBoxLayout(which);
    whichLayout->addWidget(activeGraph_);
    whichLayout->addWidget(allGraphs_);
    (initial.allGraphs ? allGraphs_ : activeGraph_)->setChecked(true);

    auto* size = new QGroupBox(Text(kWidthTitle), this);
    windowSize_ = new QRadioButton(Text(kWindowSizeText), size);
    chosenWidth_ = new QRadioButton(Text(kChosenWidthText), size);
    width_ = new QSpinBox(size);
    width_->setObjectName(QStringLiteral("ImageWidth"));
    width_->setRange(kMinImageWidth, kMaxImageWidth);
    width_->setSingleStep(100);
    width_->setSuffix(Text(kPixelSuffix));
    width_->setValue(
        std::clamp(initial.width.value_or(windowWidth), kMinImageWidth, kMaxImageWidth));
    auto* sizeLayout = new QGridLayout(size);
    sizeLayout->addWidget(windowSize_, 0, 0, 1, 2);
    sizeLayout->addWidget(chosenWidth_, 1, 0);
    sizeLayout->addWidget(width_, 1, 1);
    sizeLayout->setColumnStretch(2, 1);
    (initial.width ? chosenWidth_ : windowSize_)->setChecked(true);
    width_->setEnabled(initial.width.has_value());
    // Choosing a width puts the cursor into its field, ready to type.
    connect(chosenWidth_, &QRadioButton::toggled, this, [this](bool chosen) {
        width_->setEnabled(chosen);
        if (chosen) {
            width_->setFocus();
            width_->selectAll();
        }
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(Text(kCancelText));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(which);
    layout->addWidget(size);
    layout->addWidget(buttons);
}

GraphImageOptions GraphImageDialog::Options() const
{
    GraphImageOptions options;
    options.allGraphs = allGraphs_->isChecked();
    if (chosenWidth_->isChecked())
        options.width = width_->value();
    return options;
}

std::optional<GraphImageOptions> AskGraphImageOptions(QWidget* parent,
                                                      const GraphImageOptions& initial,
                                                      int windowWidth)
{
    GraphImageDialog dialog(initial, windowWidth, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Options();
}

void SetUpImageSaveDialog(QFileDialog& dialog, const QString& proposedPath)
{
    const ImageFormat proposed = ImageFormatOf(proposedPath);
    SetUpSaveDialog(dialog, kImageFilterList, ImageSuffix(proposed), proposedPath);
    dialog.setWindowTitle(Text(kDialogTitle));
    dialog.selectNameFilter(QtFilterFromList(kImageFilterList)
                                .split(QStringLiteral(";;"))
                                .at(proposed == ImageFormat::Svg ? 1 : 0));
}

std::optional<QString> AskImagePath(QWidget* parent, const QString& proposedPath)
{
    QFileDialog dialog(parent);
    SetUpImageSaveDialog(dialog, proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    // A name with another extension keeps it and gets the chosen filter's.
    const ImageFormat chosen = dialog.defaultSuffix() == ImageSuffix(ImageFormat::Svg)
                                   ? ImageFormat::Svg
                                   : ImageFormat::Png;
    return WithImageSuffix(dialog.selectedFiles().constFirst(), chosen);
}

}  // namespace veltrin
