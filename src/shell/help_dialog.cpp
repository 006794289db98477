#include "shell/help_dialog.h"

#include "shell/resources_init.h"
#include "shell/shell_constants.h"

#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace veltrin {

namespace {

// Size of the text area (243 by 125 dialog units of the dialog's 8-point font).
constexpr int kTextWidth = 366;
constexpr int kTextHeight = 204;
constexpr int kHelpPointSize = 9;
constexpr int kKeysIndent = 7;  // the text area's document margin

// Arial where it exists, its metric twin Liberation Sans, else the platform's sans-serif.
QFont HelpFont()
{
    QFont font;
    const QStringList families = QFontDatabase::families();
    for (const QString& face : {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}) {
        if (families.contains(face)) {
            font.setFamily(face);
            break;
        }
    }
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(kHelpPointSize);
    return font;
}

// The x at which the text after the last tab of each tabbed line starts.
QList<qreal> TabColumns(QTextDocument& document)
{
    document.setTextWidth(1e6);  // every block on one line
    (void)document.size();       // lays the blocks out now
    QList<qreal> columns;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const auto tab = static_cast<int>(block.text().lastIndexOf(QLatin1Char('\t')));
        if (tab >= 0 && block.layout() && block.layout()->lineCount() > 0)
            columns << block.layout()->lineAt(0).cursorToX(tab + 1);
    }
    return columns;
}

// Chooses the tab stop spacing nearest to half an inch (the usual default
// stops) at which the effect texts of all gesture lines start in one column,
// and gives it to `document`. The lines' tab counts were set for one screen's
// text widths; another font rasteriser can need stops a little closer or wider.
void AlignTabColumn(QTextDocument& document, qreal halfInch)
{
    const std::unique_ptr<QTextDocument> probe(document.clone());
    const auto aligned = [&probe](qreal distance) {
        QTextOption option = probe->defaultTextOption();
        option.setTabStopDistance(distance);
        probe->setDefaultTextOption(option);
        probe->markContentsDirty(0, probe->characterCount());
        const QList<qreal> columns = TabColumns(*probe);
        return !columns.isEmpty() && std::all_of(columns.begin(), columns.end(),
                                                 [&](qreal x) { return x == columns.front(); });
    };
    constexpr qreal kStep = 0.5;
    qreal chosen = halfInch;
    for (qreal offset = 0; offset <= halfInch / 2; offset += kStep) {
        if (aligned(halfInch - offset)) {
            chosen = halfInch - offset;
            break;
        }
        if (offset > 0 && aligned(halfInch + offset)) {
            chosen = halfInch + offset;
            break;
        }
    }
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(chosen);
    document.setDefaultTextOption(option);
    document.markContentsDirty(0, document.characterCount());
}

}  // namespace

CHelpDialog::CHelpDialog(QWidget* parent, const QString& resource)
    : QDialog(parent), text_(new QTextBrowser(this)), keys_(new QLabel(this))
{
    InitShellResources();
    setWindowTitle(QStringLiteral("Hilfe"));
    setObjectName(QStringLiteral("HelpDialog"));

    // Disabled and read-only: the text can be neither selected nor scrolled.
    text_->setObjectName(QStringLiteral("HelpText"));
    text_->setFrameShape(QFrame::NoFrame);
    text_->setReadOnly(true);
    text_->setOpenLinks(false);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setFixedSize(kTextWidth, kTextHeight);
    const QFont font = HelpFont();
    text_->setFont(font);
    text_->document()->setDefaultFont(font);
    // Keep the text black on the dialog's background although the control is disabled.
    QPalette palette = text_->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     palette.color(QPalette::Active, QPalette::Text));
    palette.setColor(QPalette::Disabled, QPalette::Base,
                     palette.color(QPalette::Active, QPalette::Window));
    palette.setColor(QPalette::Active, QPalette::Base,
                     palette.color(QPalette::Active, QPalette::Window));
    text_->setPalette(palette);
    text_->viewport()->setAutoFillBackground(false);

    QFile file(resource.isNull() ? QString::fromUtf8(kHelpResource) : resource);
    if (file.open(QIODevice::ReadOnly)) {
        // Trimmed: a line end after the markup would show as a trailing blank.
        text_->setHtml(QString::fromUtf8(file.readAll()).trimmed());
        AlignTabColumn(*text_->document(), text_->logicalDpiX() / 2.0);
    }
    text_->setEnabled(false);

    // The gestures and keys added since: a section of their own, so that the
    // short help above stays as it always was.
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    keys_->setObjectName(QStringLiteral("HelpKeys"));
    keys_->setFont(font);
    keys_->setTextFormat(Qt::RichText);
    keys_->setFixedWidth(kTextWidth);
    keys_->setContentsMargins(kKeysIndent, 0, 0, 0);  // in line with the text above
    keys_->setWordWrap(true);
    if (QFile keys(QString::fromUtf8(kHelpKeysResource)); keys.open(QIODevice::ReadOnly))
        keys_->setText(QString::fromUtf8(keys.readAll()).trimmed());
    rule->setVisible(!keys_->text().isEmpty());
    keys_->setVisible(!keys_->text().isEmpty());

    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(32, 32));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setMinimumWidth(75);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(icon);
    buttons->addStretch(1);
    buttons->addWidget(ok, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(rule);
    layout->addWidget(keys_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace veltrin
