#pragma once
// "Grafik speichern": what the picture of the graphs shows (the active graph
// or all shown ones, stacked), how wide it is, and which file format a chosen
// file name asks for.

#include <QDialog>
#include <QString>

#include <optional>

class QFileDialog;
class QRadioButton;
class QSpinBox;

namespace veltrin {

struct GraphImageOptions {
    bool allGraphs = false;    // the shown graph windows stacked, else the active one
    std::optional<int> width;  // in pixels; none: the windows' own size
};

// The widths the dialog offers, in pixels.
inline constexpr int kMinImageWidth = 100;
inline constexpr int kMaxImageWidth = 8000;

enum class ImageFormat { Png, Svg };

// SVG for a name ending in ".svg" (in any case), else PNG.
ImageFormat ImageFormatOf(const QString& path);
// The file name's extension for `format`, without the dot.
QString ImageSuffix(ImageFormat format);
// `path` as it is when it ends in ".png" or ".svg" (in any case), else with the
// extension of `format` appended.
QString WithImageSuffix(const QString& path, ImageFormat format);

// The save dialog's filters, in the "text|pattern|...||" form of the exports.
inline constexpr const char* kImageFilterList = "PNG-Bild (*.png)|*.png|SVG-Grafik (*.svg)|*.svg||";

class GraphImageDialog : public QDialog {
    Q_OBJECT

public:
    // Ticks what `initial` says; the width field shows `initial.width`, or
    // `windowWidth` (the active window's) when the window size was chosen.
    GraphImageDialog(const GraphImageOptions& initial, int windowWidth, QWidget* parent = nullptr);

    // What is ticked now.
    GraphImageOptions Options() const;

    QRadioButton* ActiveGraphButton() const { return activeGraph_; }
    QRadioButton* AllGraphsButton() const { return allGraphs_; }
    QRadioButton* WindowSizeButton() const { return windowSize_; }
    QRadioButton* ChosenWidthButton() const { return chosenWidth_; }
    QSpinBox* WidthBox() const { return width_; }

private:
    QRadioButton* activeGraph_ = nullptr;
    QRadioButton* allGraphs_ = nullptr;
    QRadioButton* windowSize_ = nullptr;
    QRadioButton* chosenWidth_ = nullptr;
    QSpinBox* width_ = nullptr;
};

// Runs the dialog; the options on OK, nullopt on cancel.
std::optional<GraphImageOptions> AskGraphImageOptions(QWidget* parent,
                                                      const GraphImageOptions& initial,
                                                      int windowWidth);

// Prepares `dialog` as the picture's save dialog: the two filters, the one of
// `proposedPath`'s format chosen, whose extension a name without one gets.
void SetUpImageSaveDialog(QFileDialog& dialog, const QString& proposedPath);
// Runs that dialog; the chosen name, ending in ".png" or ".svg", or nullopt
// on cancel.
std::optional<QString> AskImagePath(QWidget* parent, const QString& proposedPath);

}  // namespace veltrin
