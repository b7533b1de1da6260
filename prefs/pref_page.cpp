#include "prefs/pref_page.h"

#include <QGuiApplication>
#include <QScreen>

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "widgets/dialog_units.h"

namespace vellumo::prefs {

using namespace vellumo::widgets;

bool LargeFonts() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen && screen->logicalDotsPerInchX() == 120 && screen->logicalDotsPerInchY() == 120;
}

QFont PageFont() {
    return QFont(QStringLiteral("Segoe UI"), LargeFonts() ? 8 : 10);
}

CPrefPage::CPrefPage(int templateId, QSize templateSize, QWidget* parent)
    : CSAPrefsSubDlg(templateId, parent) {
    setFont(TemplateFont());
    resize(DialogUnitsToPixels(templateSize));
}

QWidget* CPrefPage::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CPrefPage::place(QWidget* widget, int id, QRect du) {
    widget->setFont(TemplateFont());
    widget->setGeometry(DialogUnitsToPixels(du));
    ApplyControlColours(widget);
    if (id != 0) {
        widget->setObjectName(QString::number(id));
        controls_[id] = widget;
    }
    widget->show();
}

QLabel* CPrefPage::AddTitle(const QString& text) {
    QLabel* title = AddLabel(kTitle, text, QRect(93, 3, 109, 12), Qt::AlignHCenter);
    setAccessibleName(text);  // the page, for assistive technology
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(24);
    font.setWeight(QFont::Normal);
    title->setFont(font);
    // The 24 pixel font is taller than the template's line: grow the title downwards so that
    // its descenders are not cut off.
    const QFontMetrics metrics(font);
    const int height = metrics.height();
    if (title->height() < height) title->resize(title->width(), height);
    // A title longer than its place (as in some languages) widens it about the same centre, as
    // far as the page reaches, instead of being cut at both ends.
    const int needed = metrics.horizontalAdvance(text) + metrics.averageCharWidth();
    if (title->width() < needed) {
        const int pageWidth = width() > 0 ? width() : needed;
        const int wide = qMin(needed, pageWidth);
        const int left = qBound(0, title->geometry().center().x() - wide / 2, pageWidth - wide);
        title->setGeometry(left, title->y(), wide, title->height());
    }
    return title;
}

QLabel* CPrefPage::AddLabel(int id, const QString& text, QRect du, Qt::Alignment align) {
    auto* label = new QLabel(text, this);
    label->setAlignment(align | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    place(label, id, du);
    return label;
}

QLineEdit* CPrefPage::AddEdit(int id, QRect du) {
    auto* edit = new QLineEdit(this);
    edit->setFrame(true);
    place(edit, id, du);
    return edit;
}

CButtonST* CPrefPage::AddCheckBox(int id, const QString& text, QRect du) {
    auto* box = new CButtonST(CButtonST::Kind::CheckBox, text, this);
    place(box, id, du);
    return box;
}

CButtonST* CPrefPage::AddRadio(int id, const QString& text, QRect du) {
    auto* radio = new CButtonST(CButtonST::Kind::Radio, text, this);
    place(radio, id, du);
    return radio;
}

QPushButton* CPrefPage::AddPushButton(int id, const QString& text, QRect du) {
    auto* button = new QPushButton(text, this);
    button->setAutoDefault(false);
    button->setDefault(false);
    place(button, id, du);
    return button;
}

QGroupBox* CPrefPage::AddFrame(const QString& text, QRect du) {
    auto* frame = new QGroupBox(text, this);
    // The caption sits on the frame's top line, half its height below the frame's top, so
    // controls placed a line below the top lie inside the frame, not on its line.
    frame->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid #c8c8c8; margin-top: 0.5em; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    place(frame, 0, du);
    frame->lower();  // the controls inside lie above it
    return frame;
}

}  // namespace vellumo::prefs
