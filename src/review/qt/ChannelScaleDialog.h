#pragma once
// "Channel Scale": the factor, offset and unit that turn one channel's raw
// byte into a value (value = raw x factor + offset). "No Scale" empties the
// fields; OK with all three empty forgets the scale. A field that cannot be
// taken is said in the dialog, which stays open.

#include <QDialog>

#include <optional>
#include <string>

#include "review/ChannelScales.h"

class QLabel;
class QLineEdit;

namespace tavo {

class ChannelScaleDialog : public QDialog {
    Q_OBJECT
public:
    ChannelScaleDialog(const std::string& title, const std::optional<ChannelScale>& scale, QWidget* parent = nullptr);

    // After OK: the scale taken, or nothing for none.
    const std::optional<ChannelScale>& scale() const { return scale_; }

    void accept() override;

private:
    QLineEdit* factor_ = nullptr;
    QLineEdit* offset_ = nullptr;
    QLineEdit* unit_ = nullptr;
    QLabel* problem_ = nullptr;
    std::optional<ChannelScale> scale_;
};

}  // namespace tavo
