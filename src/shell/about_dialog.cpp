#include "shell/about_dialog.h"

#include "shell/resources_init.h"
#include "shell/shell_constants.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace veltrin {

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(kAboutTitle));
    setObjectName(QStringLiteral("AboutDialog"));

    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(32, 32));
    auto* name = new QLabel(QString::fromUtf8(kVersionText), this);
    name->setObjectName(QStringLiteral("Version"));
    auto* notice = new QLabel(QString::fromUtf8(kNoticeText), this);
    notice->setObjectName(QStringLiteral("Notice"));
    auto* ok = new QPushButton(QString::fromUtf8(kOkText), this);
    ok->setDefault(true);
    ok->setMinimumWidth(75);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(notice, 1, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setColumnStretch(1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace veltrin
