#include "widgets/skin_accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>

#include "widgets/bitmap_button.h"
#include "widgets/skin_button.h"
#include "widgets/translucent_button.h"

namespace vellumo::widgets {

namespace {

constexpr const char* kRoleProperty = "vellumoSkinRole";

QAccessible::Role ToQt(SkinRole role) {
    switch (role) {
        case SkinRole::RadioButton:
            return QAccessible::RadioButton;
        case SkinRole::CheckBox:
            return QAccessible::CheckBox;
        case SkinRole::PageTab:
            return QAccessible::PageTab;
        case SkinRole::StaticText:
            return QAccessible::StaticText;
        case SkinRole::PushButton:
            break;
    }
    return QAccessible::Button;
}

// A skinned button as assistive technology sees it: its text (the words its bitmap shows) or
// accessible name, its role, its checked or selected state, and a press that clicks it.
class SkinAccessible : public QAccessibleWidget {
public:
    explicit SkinAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, ToQt(SkinRoleOf(button))) {}

    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }

    QAccessible::Role role() const override { return ToQt(SkinRoleOf(button())); }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const SkinRole kind = SkinRoleOf(button());
        if (kind == SkinRole::PageTab) {
            state.selectable = true;
            state.selected = button()->isChecked();
        } else if (button()->isCheckable()) {
            state.checkable = true;
            state.checked = button()->isChecked();
        }
        if (kind == SkinRole::StaticText) state.focusable = false;
        state.pressed = button()->isDown();
        return state;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            QString name = button()->accessibleName();
            if (name.isEmpty()) name = button()->text();
            return name.remove(QLatin1Char('&'));
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        if (SkinRoleOf(button()) == SkinRole::StaticText || !button()->isEnabled()) return {};
        return {button()->isCheckable() && SkinRoleOf(button()) == SkinRole::CheckBox
                    ? toggleAction()
                    : pressAction()};
    }

    void doAction(const QString& action) override {
        if (!button()->isEnabled()) return;
        // Clicked once the answer has gone out: a click that opens a modal dialog would
        // otherwise keep the screen reader waiting for as long as the dialog is open.
        if (action == pressAction() || action == toggleAction())
            QMetaObject::invokeMethod(button(), &QAbstractButton::click, Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* SkinFactory(const QString&, QObject* object) {
    // Asked for the object's own class first: the skinned classes answer, anything else is
    // left to Qt.
    QAbstractButton* button = qobject_cast<CxSkinButton*>(object);
    if (!button) button = qobject_cast<CBitmapButton*>(object);
    if (!button) button = qobject_cast<CTranslucentButton*>(object);
    return button ? new SkinAccessible(button) : nullptr;
}

}  // namespace

void SetSkinRole(QAbstractButton* control, SkinRole role) {
    if (!control) return;
    // Set before the control is shown: assistive technology reads the role when it first sees
    // the control.
    control->setProperty(kRoleProperty, static_cast<int>(role));
}

SkinRole SkinRoleOf(const QAbstractButton* control) {
    const QVariant value = control ? control->property(kRoleProperty) : QVariant();
    return value.isValid() ? static_cast<SkinRole>(value.toInt()) : SkinRole::PushButton;
}

void InstallSkinAccessibility() {
    static const bool installed = (QAccessible::installFactory(SkinFactory), true);
    (void)installed;
}

}  // namespace vellumo::widgets
