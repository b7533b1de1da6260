#include "mainwnd/prefs_sub_dlg.h"

#include <QKeyEvent>

#include "platform/messages.h"

CSAPrefsSubDlg::CSAPrefsSubDlg(int templateId, QWidget* parent)
    : MessageWindow<QDialog>(parent), templateId_(templateId) {
    setWindowFlags(Qt::Widget);  // shown inside the main dialog
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor::fromRgb(kBackground));
    setPalette(p);
    setAutoFillBackground(true);
}

bool CSAPrefsSubDlg::UpdateData(bool) {
    return true;
}

void CSAPrefsSubDlg::SavePage() {}

void CSAPrefsSubDlg::LoadPage() {}

void CSAPrefsSubDlg::OnOK() {}

void CSAPrefsSubDlg::OnCancel() {}

LRESULT CSAPrefsSubDlg::messageMap(unsigned message, WPARAM, LPARAM) {
    if (message == msg::UM_SAVEPAGE) SavePage();
    return 0;
}

void CSAPrefsSubDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->ignore();
            return;  // on to the main dialog
        default:
            QDialog::keyPressEvent(event);
    }
}
