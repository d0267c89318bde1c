#pragma once
// Values that wait to land in the grid's selected box: a weight conversion
// typed into the weight panel, and the seasoning total carried to the strip.
// The grid colours the box it selects by them; the strip shows the total.

#include <QObject>
#include <QString>

namespace morv {

class WaitingValues : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // "0" when none.
    const QString& CarriedSalt() const { return carried_; }
    void SetCarriedSalt(const QString& salt);
    bool WeightPending() const { return weight_; }
    void SetWeightPending(bool pending) { weight_ = pending; }

signals:
    void carriedSaltChanged(const QString& salt);

private:
    QString carried_ = QStringLiteral("0");
    bool weight_ = false;
};

}  // namespace morv
