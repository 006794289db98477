#pragma once
// Second page of the configuration wizard: the recorder's password, checked
// with the recorder on entering the page and after every change.

#include <QWizardPage>

#include <string>

class QLineEdit;

namespace veltrin {

class RecorderSession;

class CCfgPagePassword : public QWizardPage {
    Q_OBJECT
public:
    explicit CCfgPagePassword(RecorderSession& session, QWidget* parent = nullptr);

    // Next needs a password the recorder accepted.
    bool isComplete() const override;

    // Checks the shown password again; called whenever the page becomes the current one.
    void OnSetActive();
    // The password as typed, in the bytes sent to the recorder.
    std::string Password() const;

private:
    void CheckPassword();

    RecorderSession& session_;
    QLineEdit* password_ = nullptr;
    bool accepted_ = false;
};

}  // namespace veltrin
