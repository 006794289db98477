#pragma once
// CAboutDialog: the program's name, version and makers' notice. Modal.

#include <QDialog>

namespace veltrin {

class CAboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDialog(QWidget* parent = nullptr);
};

}  // namespace veltrin
