// CTabEmailDlg: the "Email" settings page: whether mail goes through an SMTP server, the
// server, port, user and password, the user's own address and the forward address, and a test
// mail. The SMTP switch is stored at each click; everything else when the page is hidden.
#pragma once

#include <QString>

#include "prefs/pref_page.h"

namespace vellumo::prefs {

class CTabEmailDlg : public CPrefPage {
    Q_OBJECT
public:
    static constexpr int kTemplate = 270;
    static constexpr int kViaSmtp = 2690;
    static constexpr int kSendTestMail = 2970;
    static constexpr int kPassword = 2675;
    // The controls that belong to mailing through a server: enabled exactly while it is on.
    static constexpr int kSmtpGroup[] = {2692, 2691, 2640, 2650, 2660, 2675, 2680,
                                         2970, 3230, 3240, 3250, 3260, 3270};
    // The longest password the settings can hold.
    static constexpr int kMaxPassword = 127;

    explicit CTabEmailDlg(QWidget* parent);

    bool UpdateData(bool saveAndValidate) override;
    void LoadPage() override;
    void SavePage() override;
    // A click on "Send email via SMTP server".
    void OnSmtpSwitch();
    // "Send test email": a mail "Test" from the typed own address to itself through the typed
    // server, with the typed credentials.
    void OnSendTestMail();

    int ViaSMTP = 1;
    QString forwardAddress;
    QString smtpServer;
    QString smtpPort;
    QString userId;
    QString storedPassword;  // obscured, as read
    QString ownAddress;
    QString password;  // plain

private:
    void EnableSmtpGroup();
};

}  // namespace vellumo::prefs
