#include "shell/measure_window.h"

#include "data/number_format.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace veltrin {

namespace {

constexpr const char* kColumnTitles[] = {"",        "A",       "B",         "Differenz",
                                         "Minimum", "Maximum", "Mittelwert"};
constexpr const char* kTimeName = "Zeit";
constexpr const char* kTimeUnit = "s";
constexpr int kTimeDecimals = 1;
constexpr const char* kHintText =
    "Marke mit der mittleren Maustaste setzen, das andere Ende des Bereichs mit Strg + mittlerer "
    "Maustaste.";
constexpr const char* kCopyText = "Kopieren";
constexpr const char* kPaneSeparator = " · ";

std::string Fixed(std::optional<double> value, int decimals)
{
    std::string text;
    if (value)
        AppendFixed(text, *value, decimals);
    return text;
}

std::string Titled(const char* name, const char* unit)
{
    return std::string(name) + " [" + unit + "]";
}

}  // namespace

MeasureTable MeasureTableOf(const RangeMeasure& measure, std::span<const MeasureCurve> curves)
{
    MeasureTable table;
    for (const char* title : kColumnTitles)
        table.header.emplace_back(title);
    table.rows.push_back({Titled(kTimeName, kTimeUnit),
                          Fixed(measure.timeAMs * 0.001, kTimeDecimals),
                          Fixed(measure.timeBMs * 0.001, kTimeDecimals),
                          Fixed(measure.deltaMs * 0.001, kTimeDecimals), "", "", ""});
    for (const MeasureCurve& curve : curves) {
        std::vector<std::string> row{Titled(curve.name, curve.unit)};
        const CurveMeasure* values = nullptr;
        for (const CurveMeasure& c : measure.curves) {
            if (c.column == curve.column)
                values = &c;
        }
        const CurveMeasure none;
        const CurveMeasure& v = values != nullptr ? *values : none;
        const std::optional<ValueSpread>& spread = v.spread;
        row.push_back(Fixed(v.atA, curve.decimals));
        row.push_back(Fixed(v.atB, curve.decimals));
        row.push_back(Fixed(v.difference, curve.decimals));
        row.push_back(Fixed(spread ? std::optional(spread->min) : std::nullopt, curve.decimals));
        row.push_back(Fixed(spread ? std::optional(spread->max) : std::nullopt, curve.decimals));
        row.push_back(Fixed(spread ? std::optional(spread->mean) : std::nullopt, curve.decimals));
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::string MeasureCopyText(const MeasureTable& table)
{
    std::string text;
    auto line = [&text](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0)
                text += '\t';
            text += cells[i];
        }
        text += '\n';
    };
    if (table.rows.empty())
        return text;
    line(table.header);
    for (const auto& row : table.rows)
        line(row);
    return text;
}

std::string MeasurePaneText(const RangeMeasure& measure, std::span<const MeasureCurve> curves)
{
    std::string text = "Δt ";
    AppendFixed(text, measure.deltaMs * 0.001, kTimeDecimals);
    text += ' ';
    text += kTimeUnit;
    for (const MeasureCurve& curve : curves) {
        for (const CurveMeasure& c : measure.curves) {
            if (c.column != curve.column || !c.difference)
                continue;
            text += kPaneSeparator;
            text += "Δ ";
            AppendFixed(text, *c.difference, curve.decimals);
            text += ' ';
            text += curve.unit;
        }
    }
    return text;
}

MeasureWindow::MeasureWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MeasureWindow"));
    table_ = new QTreeWidget(this);
    table_->setObjectName(QStringLiteral("MeasureTable"));
    QStringList titles;
    for (const char* title : kColumnTitles)
        titles << QString::fromUtf8(title);
    table_->setColumnCount(static_cast<int>(titles.size()));
    table_->setHeaderLabels(titles);
    table_->setRootIsDecorated(false);
    table_->setUniformRowHeights(true);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->header()->setStretchLastSection(false);

    hint_ = new QLabel(QString::fromUtf8(kHintText), this);
    hint_->setObjectName(QStringLiteral("MeasureHint"));
    hint_->setWordWrap(true);
    copy_ = new QPushButton(QString::fromUtf8(kCopyText), this);
    copy_->setObjectName(QStringLiteral("MeasureCopy"));
    connect(copy_, &QPushButton::clicked, this, &MeasureWindow::Copy);
    // Ctrl+C anywhere in the bar copies the read-out.
    auto* shortcut =
        new QShortcut(QKeySequence::Copy, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, &MeasureWindow::Copy);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(hint_, 1);
    buttons->addStretch();
    buttons->addWidget(copy_, 0, Qt::AlignRight | Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    ShowTable({});
}

void MeasureWindow::ShowTable(MeasureTable table)
{
    shown_ = std::move(table);
    table_->clear();
    for (const auto& row : shown_.rows) {
        auto* item = new QTreeWidgetItem(table_);
        for (std::size_t i = 0; i < row.size(); ++i) {
            const int column = static_cast<int>(i);
            item->setText(column, QString::fromStdString(row[i]));
            if (i > 0)
                item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    const bool empty = shown_.rows.empty();
    hint_->setVisible(empty);
    copy_->setEnabled(!empty);
}

void MeasureWindow::Copy()
{
    if (shown_.rows.empty())
        return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(MeasureCopyText(shown_)));
}

}  // namespace veltrin
