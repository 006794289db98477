#include "shell/limits_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace veltrin {

namespace {

constexpr const char* kDialogTitle = "Grenzwerte";
constexpr const char* kIntroText =
    "Grenzwerte des Flugzeugs, gegen die die Flüge geprüft werden.\n"
    "Ohne Grenzwerte werden keine Überschreitungen angezeigt.";
constexpr const char* kRemoveText = "Grenzwerte &entfernen";
constexpr const char* kRecorderText = "Werte des &Loggers";
constexpr const char* kCancelText = "Abbrechen";
constexpr const char* kNotANumber = "Bitte bei „%1“ eine Zahl eingeben.";
constexpr const char* kNotBelowZero = "Der Wert bei „%1“ muss kleiner als 0 sein.";
constexpr const char* kNotAboveZero = "Der Wert bei „%1“ muss größer als 0 sein.";
constexpr int kFieldCharacters = 8;

// One limit field: its label and unit as shown, its object name, and the
// side of 0 it must lie on.
struct FieldRow {
    const char* label;
    const char* unit;
    const char* name;
    bool belowZero;
};

constexpr std::array kFieldRows{
    FieldRow{"Max. negative Belastung", "g", "NegativeLoad", true},
    FieldRow{"Max. positive Belastung", "g", "PositiveLoad", false},
    FieldRow{"Max. Geschwindigkeit", "km/h", "Speed", false},
};

// The shortest text that reads back as `value`, with a decimal point.
QString FieldText(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}

}  // namespace

std::optional<double> ParseLimitText(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    std::string number;
    bool digits = false;
    bool point = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            number.push_back(c);
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
            number.push_back('.');
        } else if ((c == '-' || c == '+') && i == 0) {
            if (c == '-')
                number.push_back(c);
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    double value = 0.0;
    const char* end = number.data() + number.size();
    const auto result = std::from_chars(number.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

CLimitsDialog::CLimitsDialog(const std::optional<AircraftLimits>& current,
                             const std::optional<AircraftLimits>& recorder, QWidget* parent)
    : QDialog(parent), recorder_(recorder)
{
    setObjectName(QStringLiteral("LimitsDialog"));
    setWindowTitle(QString::fromUtf8(kDialogTitle));

    auto* intro = new QLabel(QString::fromUtf8(kIntroText), this);
    auto* grid = new QGridLayout;
    std::array<QLineEdit*, kFieldRows.size()> edits{};
    for (std::size_t i = 0; i < kFieldRows.size(); ++i) {
        const FieldRow& row = kFieldRows[i];
        edits[i] = new QLineEdit(this);
        edits[i]->setObjectName(QString::fromLatin1(row.name));
        edits[i]->setAlignment(Qt::AlignRight);
        edits[i]->setMaximumWidth(
            edits[i]->fontMetrics().horizontalAdvance(QString(kFieldCharacters, QLatin1Char('0'))) +
            16);
        auto* label = new QLabel(QString::fromUtf8(row.label), this);
        label->setBuddy(edits[i]);
        const int line = static_cast<int>(i);
        grid->addWidget(label, line, 0);
        grid->addWidget(edits[i], line, 1);
        grid->addWidget(new QLabel(QString::fromUtf8(row.unit), this), line, 2);
    }
    grid->setColumnStretch(3, 1);
    negativeLoad_ = edits[0];
    positiveLoad_ = edits[1];
    speed_ = edits[2];

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("Problem"));
    problem_->setStyleSheet(QStringLiteral("color: #c00000"));
    problem_->setWordWrap(true);
    problem_->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(kCancelText));
    remove_ = buttons->addButton(QString::fromUtf8(kRemoveText), QDialogButtonBox::ResetRole);
    remove_->setObjectName(QStringLiteral("Remove"));
    remove_->setEnabled(current.has_value());
    fromRecorder_ =
        buttons->addButton(QString::fromUtf8(kRecorderText), QDialogButtonBox::ResetRole);
    fromRecorder_->setObjectName(QStringLiteral("FromRecorder"));
    fromRecorder_->setEnabled(recorder.has_value());
    connect(buttons, &QDialogButtonBox::accepted, this, &CLimitsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CLimitsDialog::reject);
    connect(remove_, &QPushButton::clicked, this, &CLimitsDialog::OnRemove);
    connect(fromRecorder_, &QPushButton::clicked, this, [this] { Show(*recorder_); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(grid);
    layout->addWidget(problem_);
    layout->addStretch(1);
    layout->addWidget(buttons);

    if (current)
        Show(*current);
    else if (recorder)
        Show(*recorder);
}

void CLimitsDialog::Show(const AircraftLimits& limits)
{
    negativeLoad_->setText(FieldText(limits.negativeLoad));
    positiveLoad_->setText(FieldText(limits.positiveLoad));
    speed_->setText(FieldText(limits.speed));
}

QString CLimitsDialog::Problem() const
{
    return problem_->isHidden() ? QString() : problem_->text();
}

void CLimitsDialog::accept()
{
    const std::array<QLineEdit*, kFieldRows.size()> edits{negativeLoad_, positiveLoad_, speed_};
    std::array<double, kFieldRows.size()> values{};
    for (std::size_t i = 0; i < kFieldRows.size(); ++i) {
        const FieldRow& row = kFieldRows[i];
        const QString label = QString::fromUtf8(row.label);
        const std::optional<double> value = ParseLimitText(edits[i]->text().toStdString());
        QString problem;
        if (!value)
            problem = QString::fromUtf8(kNotANumber).arg(label);
        else if (row.belowZero && !(*value < 0.0))
            problem = QString::fromUtf8(kNotBelowZero).arg(label);
        else if (!row.belowZero && !(*value > 0.0))
            problem = QString::fromUtf8(kNotAboveZero).arg(label);
        if (!problem.isEmpty()) {
            problem_->setText(problem);
            problem_->show();
            edits[i]->setFocus();
            edits[i]->selectAll();
            return;
        }
        values[i] = *value;
    }
    problem_->hide();
    chosen_ = AircraftLimits{values[0], values[1], values[2]};
    QDialog::accept();
}

void CLimitsDialog::OnRemove()
{
    chosen_.reset();
    QDialog::accept();
}

}  // namespace veltrin
