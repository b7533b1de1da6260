#include "widgets/standard_dialog.h"

#include "platform/messages.h"

namespace vellumo::widgets {

using namespace vellumo::platform;

CStandardDialog::CStandardDialog(QWidget* parent) : MessageWindow<QDialog>(parent) {
    // A dialog is a window of its own unless told otherwise; this one is a layer of its parent.
    setWindowFlags(Qt::Widget);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void CStandardDialog::closeParent() {
    if (!parentWidget()) return;
    closingParent_ = true;
    SendWindowMessage(parentWidget(), msg::WM_CLOSE);
    closingParent_ = false;
}

void CStandardDialog::OnOK() {
    closeParent();
    done(IDOK);
}

void CStandardDialog::OnCancel() {
    closeParent();
    done(IDCANCEL);
}

}  // namespace vellumo::widgets
