#pragma once
// The dialog "Karte": the tile server's URL template and the attribution its
// map asks for. An empty template means no map and no network at all.

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QLineEdit;

namespace veltrin {

class TileServerDialog : public QDialog {
    Q_OBJECT

public:
    explicit TileServerDialog(QWidget* parent = nullptr);

    void SetValues(const QString& urlTemplate, const QString& attribution);
    QString UrlTemplate() const;
    QString Attribution() const;

    QLineEdit* UrlField() const { return url_; }
    QLineEdit* AttributionField() const { return attribution_; }
    QDialogButtonBox* Buttons() const { return buttons_; }

    // Empty, or naming {z}, {x} and {y}: a template that can fetch tiles.
    static bool Usable(const QString& urlTemplate);

private:
    void UpdateOk();

    QLineEdit* url_ = nullptr;
    QLineEdit* attribution_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace veltrin
