// CSendMailDlg: the message that "MAIL AS PDF" sends through the SMTP server, as the user
// writes it: sender, recipient, subject and text. It also reads the SMTP connection values from
// the settings each time it opens, so the send finds everything for one run in the dialog
// after "Send mail". Nothing typed here is stored, and no field is checked.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vellumo::output {

class CSendMailDlg : public QDialog {
    Q_OBJECT
public:
    // Template and control identifiers.
    static constexpr const char* kTemplate = "SENDMAIL";
    enum : int {
        IDOK = 1,
        IDCANCEL = 2,
        IDC_FROM = 1120,
        IDC_TO = 1121,
        IDC_SUBJECT = 2980,
        IDC_MESSAGE = 1123
    };

    explicit CSendMailDlg(QWidget* parent = nullptr);

    // Filled by OnInitDialog (From and the SMTP values) and by OnOK (the four edits).
    QString From, To, Subject, Message;
    QString SmtpServer, SmtpPort, UserId, StoredPassword, Password;

    // The control with the given identifier, or nullptr.
    QWidget* control(int id) const;

    // Reads the settings and shows From; puts the focus into From. Runs when the dialog opens.
    bool OnInitDialog();
    // "Send mail": the edits into the members, then closes with IDOK.
    void OnOK();
    // "Cancel", Escape, closing the window: closes with IDCANCEL.
    void OnCancel();

protected:
    void showEvent(QShowEvent* event) override;
    void accept() override;
    void reject() override;

private:
    // Text exchange between the edits and the members; save: from the edits.
    void DoDataExchange(bool save);

    QLineEdit* from_;
    QLineEdit* to_;
    QLineEdit* subject_;
    QPlainTextEdit* message_;
    QPushButton* send_;
    QPushButton* cancel_;
    bool initialised_ = false;
};

}  // namespace vellumo::output
