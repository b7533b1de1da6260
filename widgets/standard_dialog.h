// CStandardDialog: a dialog that lies over its parent window as a transparent layer, so that
// only its controls show on what the parent paints. Its OK and Cancel first close the parent
// window (delivered at once), then end the dialog.
#pragma once

#include <QDialog>

#include "platform/window_message.h"

namespace vellumo::widgets {

class CStandardDialog : public platform::MessageWindow<QDialog> {
    Q_OBJECT
public:
    // A child of `parent` (the skin window) covering it; nothing of its own background shows.
    explicit CStandardDialog(QWidget* parent);

    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;

protected:
    virtual void OnOK();
    virtual void OnCancel();
    // The parent window is being closed by this dialog's OK or Cancel.
    bool closingParent() const { return closingParent_; }
    void closeParent();

private:
    bool closingParent_ = false;
};

}  // namespace vellumo::widgets
