#include "prefs/prefs_sub_dlg.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QChildEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "platform/messages.h"

namespace vellumo::prefs {

using namespace vellumo::platform;

namespace {

bool IsEdit(const QObject* object) {
    return qobject_cast<const QLineEdit*>(object) || qobject_cast<const QPlainTextEdit*>(object) ||
           qobject_cast<const QTextEdit*>(object) || qobject_cast<const QAbstractSpinBox*>(object);
}

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

CSAPrefsSubDlg::CSAPrefsSubDlg(int templateId, QWidget* parent)
    : MessageWindow<QDialog>(parent), templateId_(templateId) {
    setWindowFlags(Qt::Widget);  // shown inside the main dialog
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor::fromRgb(kBackground));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);
}

void CSAPrefsSubDlg::ApplyControlColours(QWidget* control) {
    QPalette p = control->palette();
    const QColor ground = IsEdit(control) ? QColor(Qt::white) : QColor::fromRgb(kBackground);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        p.setColor(role, ground);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Active, role, Qt::black),
            p.setColor(QPalette::Inactive, role, Qt::black);
    control->setPalette(p);
    // An edit fills its white ground; everything else lies on the page's own grey, so that a
    // label inside a group frame shows no patch of another shade.
    control->setAutoFillBackground(IsEdit(control));
}

bool CSAPrefsSubDlg::UpdateData(bool) {
    return true;
}

void CSAPrefsSubDlg::SavePage() {}

void CSAPrefsSubDlg::LoadPage() {}

void CSAPrefsSubDlg::LoadPageLater() {}

void CSAPrefsSubDlg::OnOK() {
    setResult(QDialog::Accepted);
}

void CSAPrefsSubDlg::OnCancel() {
    setResult(QDialog::Rejected);
}

LRESULT CSAPrefsSubDlg::messageMap(unsigned message, WPARAM, LPARAM) {
    if (message == msg::UM_SAVEPAGE) SavePage();
    return 0;
}

void CSAPrefsSubDlg::childEvent(QChildEvent* event) {
    if (event->added() && event->child()->isWidgetType()) event->child()->installEventFilter(this);
    MessageWindow<QDialog>::childEvent(event);
}

bool CSAPrefsSubDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
        if (IsEnter(key->key())) {
            // A multi-line edit takes the Enter as a new line; for anything else it is nothing.
            if (IsEdit(watched) && watched->property(kWantReturn).toBool()) return false;
            event->accept();
            return true;
        }
    }
    return MessageWindow<QDialog>::eventFilter(watched, event);
}

void CSAPrefsSubDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || IsEnter(event->key())) {
        event->accept();  // neither closes the page nor reaches the main dialog
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace vellumo::prefs
