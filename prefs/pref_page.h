// The common part of the General and Email pages: their controls are built from the page's
// dialog template (rectangles in dialog units, laid out at 96 dpi in the template font), each
// with its control identifier, and found again by it.
#pragma once

#include <QFont>
#include <QRect>
#include <map>

#include "prefs/button_st.h"
#include "prefs/prefs_sub_dlg.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vellumo::prefs {

// True when the screen has 120 logical pixels per inch in both directions.
bool LargeFonts();
// The font of the settings pages' buttons: Segoe UI, 10 points (8 with large fonts).
QFont PageFont();

class CPrefPage : public CSAPrefsSubDlg {
    Q_OBJECT
public:
    // The page title's identifier on every page.
    static constexpr int kTitle = 2960;

    CPrefPage(int templateId, QSize templateSize, QWidget* parent);

    // The control with the identifier, or nullptr.
    QWidget* control(int id) const;
    template <typename T>
    T* control(int id) const {
        return qobject_cast<T*>(control(id));
    }

protected:
    // Control makers; `du` is the template rectangle in dialog units, id 0 a control without
    // identifier.
    QLabel* AddTitle(const QString& text);
    QLabel* AddLabel(int id, const QString& text, QRect du, Qt::Alignment align = Qt::AlignLeft);
    QLineEdit* AddEdit(int id, QRect du);
    CButtonST* AddCheckBox(int id, const QString& text, QRect du);
    CButtonST* AddRadio(int id, const QString& text, QRect du);
    QPushButton* AddPushButton(int id, const QString& text, QRect du);
    QGroupBox* AddFrame(const QString& text, QRect du);

    // True between a load and the next store: a page hidden before its load ran has nothing of
    // the user's to store, and storing its empty controls would wipe the settings.
    bool loaded_ = false;

private:
    void place(QWidget* widget, int id, QRect du);

    std::map<int, QWidget*> controls_;
};

}  // namespace vellumo::prefs
