#include "prefs/tab_email_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "output/mail_ui.h"
#include "platform/settings_store.h"

namespace vellumo::prefs {

using namespace vellumo::output;

using namespace vellumo::platform;

namespace {
constexpr int kForward = 2691, kServer = 2640, kPort = 2650, kUser = 2660, kOwn = 2680;
}

CTabEmailDlg::CTabEmailDlg(QWidget* parent) : CPrefPage(kTemplate, QSize(299, 220), parent) {
    AddTitle(tr("Email Settings"));
    CButtonST* viaSmtp = AddCheckBox(kViaSmtp, QString(), {70, 29, 12, 12});
    connect(viaSmtp, &QAbstractButton::clicked, this, [this] { OnSmtpSwitch(); });
    // The switch has its words beside it; each label names its field.
    AddLabel(0, tr("Send email via SMTP server"), {84, 31, 172, 8})->setBuddy(viaSmtp);
    viaSmtp->setAccessibleName(tr("Send email via SMTP server"));
    AddLabel(2692, tr("To e-mail address:"), {63, 57, 84, 8}, Qt::AlignRight)
        ->setBuddy(AddEdit(kForward, {149, 55, 100, 12}));
    AddLabel(3230, tr("Send e-mail using this SMTP server:"), {72, 84, 140, 8})
        ->setBuddy(AddEdit(kServer, {70, 93, 144, 12}));
    AddLabel(3240, tr("Port:"), {220, 84, 29, 8})->setBuddy(AddEdit(kPort, {220, 93, 29, 12}));
    AddLabel(3250, tr("User id:"), {72, 118, 69, 9})->setBuddy(AddEdit(kUser, {70, 129, 71, 12}));
    QLineEdit* passwordEdit = AddEdit(kPassword, {160, 129, 88, 12});
    AddLabel(3260, tr("Password:"), {162, 118, 84, 9})->setBuddy(passwordEdit);
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setMaxLength(kMaxPassword);
    AddLabel(3270, tr("My e-mail address:"), {72, 153, 141, 9})
        ->setBuddy(AddEdit(kOwn, {70, 163, 143, 12}));
    QPushButton* test = AddPushButton(kSendTestMail, tr("Send test email"), {102, 191, 86, 15});
    test->setFont(PageFont());
    connect(test, &QPushButton::clicked, this, [this] { OnSendTestMail(); });
}

bool CTabEmailDlg::UpdateData(bool saveAndValidate) {
    auto* via = control<QAbstractButton>(kViaSmtp);
    struct Field {
        int id;
        QString* value;
    };
    const Field fields[] = {{kForward, &forwardAddress}, {kServer, &smtpServer},
                            {kPort, &smtpPort},          {kUser, &userId},
                            {kPassword, &password},      {kOwn, &ownAddress}};
    if (saveAndValidate) {
        ViaSMTP = via->isChecked() ? 1 : 0;
        for (const Field& field : fields) *field.value = control<QLineEdit>(field.id)->text();
        return true;
    }
    via->setChecked(ViaSMTP != 0);
    for (const Field& field : fields) control<QLineEdit>(field.id)->setText(*field.value);
    return true;
}

void CTabEmailDlg::LoadPage() {
    forwardAddress = SettingsStore::read(setting::ForwardAddress);
    ViaSMTP = SettingsStore::read(setting::ViaSMTP);
    smtpServer = SettingsStore::read(setting::SmtpServer);
    smtpPort = SettingsStore::read(setting::SmtpPort);
    userId = SettingsStore::read(setting::SmtpUserId);
    storedPassword = SettingsStore::read(setting::SmtpPassword);
    password = SettingsStore::readPassword();
    ownAddress = SettingsStore::read(setting::SmtpEmailAddress);
    EnableSmtpGroup();
    UpdateData(false);
    loaded_ = true;
}

void CTabEmailDlg::SavePage() {
    if (!loaded_) return;
    loaded_ = false;
    UpdateData(true);
    SettingsStore::write(setting::ViaSMTP, ViaSMTP);
    SettingsStore::write(setting::ForwardAddress, forwardAddress);
    SettingsStore::write(setting::SmtpServer, smtpServer);
    SettingsStore::write(setting::SmtpPort, smtpPort);
    SettingsStore::write(setting::SmtpUserId, userId);
    SettingsStore::writePassword(password);
    SettingsStore::write(setting::SmtpEmailAddress, ownAddress);
}

void CTabEmailDlg::OnSmtpSwitch() {
    UpdateData(true);
    SettingsStore::write(setting::ViaSMTP, ViaSMTP);
    EnableSmtpGroup();
}

void CTabEmailDlg::EnableSmtpGroup() {
    for (int id : kSmtpGroup)
        if (QWidget* widget = control(id)) widget->setEnabled(ViaSMTP != 0);
}

void CTabEmailDlg::OnSendTestMail() {
    UpdateData(true);
    TestMailFields fields;
    fields.ownAddress = ownAddress;
    fields.server = smtpServer;
    fields.port = smtpPort;
    fields.userId = userId;
    fields.password = password;
    SendTestMail(this, fields);
}

}  // namespace vellumo::prefs
