// CSAPrefsSubDlg: the base of the settings pages shown inside the main dialog. A page is a
// child window on a light grey ground; the host tells it to store its values (UM_SAVEPAGE)
// before hiding it, runs its data exchange to validate and commit it, and asks it to load its
// controls once it has been shown. CDlg1 is the empty page that holds place 0 of the host.
#pragma once

#include <QDialog>

#include "platform/window_message.h"

namespace vellumo::prefs {

class CSAPrefsSubDlg : public vellumo::platform::MessageWindow<QDialog> {
    Q_OBJECT
public:
    static constexpr unsigned kBackground = 0xEDEDED;
    // An edit with this dynamic property set to true takes Enter as a character (a multi-line
    // field); every other control of a page never sees Enter.
    static constexpr const char* kWantReturn = "wantReturn";

    CSAPrefsSubDlg(int templateId, QWidget* parent);
    int templateId() const { return templateId_; }

    // Data exchange: with saveAndValidate, takes the values from the controls and checks them;
    // false (after telling the user what is wrong, with the focus on the faulty field) when
    // they do not pass. Without, puts the values into the controls.
    virtual bool UpdateData(bool saveAndValidate);
    // Stores the page's values (UM_SAVEPAGE).
    virtual void SavePage();
    // Loads the controls from the settings, as the page is shown.
    virtual void LoadPage();
    // Fills in what takes time to find out (the scanner's name) after the page has been shown,
    // without holding it up or touching what the user has changed meanwhile.
    virtual void LoadPageLater();
    // End the page with the result Accepted or Rejected, without exchange or storing.
    virtual void OnOK();
    virtual void OnCancel();

    // The colours of a page's control: black text; an edit on white, anything else on the
    // page's grey. Applied to every control a page gets.
    static void ApplyControlColours(QWidget* control);

protected:
    // Escape and Enter never reach the main dialog from a page: both are swallowed, except that
    // an edit that wants returns gets its Enter.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void childEvent(QChildEvent* event) override;
    vellumo::platform::LRESULT messageMap(unsigned message, vellumo::platform::WPARAM wParam,
                                          vellumo::platform::LPARAM lParam) override;

private:
    int templateId_;
};

class CDlg1 : public CSAPrefsSubDlg {
    Q_OBJECT
public:
    static constexpr int kTemplate = 107;
    explicit CDlg1(QWidget* parent) : CSAPrefsSubDlg(kTemplate, parent) {}
};

}  // namespace vellumo::prefs
