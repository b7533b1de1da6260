#include "output/send_mail_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

#include "platform/password.h"
#include "platform/settings_store.h"
#include "widgets/dialog_units.h"

namespace vellumo::output {

using namespace vellumo::widgets;

using namespace vellumo::platform;

namespace {

void Place(QWidget* widget, int x, int y, int w, int h) {
    widget->setGeometry(DialogUnitsToPixels(QRect(x, y, w, h)));
}

QLabel* Label(QWidget* parent, const QString& text, int x, int y, int w, int h) {
    auto* label = new QLabel(text, parent);
    Place(label, x, y, w, h);
    return label;
}

QLineEdit* Edit(QWidget* parent, int id, int x, int y, int w, int h) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("edit%1").arg(id));
    Place(edit, x, y, w, h);
    return edit;
}

}  // namespace

CSendMailDlg::CSendMailDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QString::fromLatin1(kTemplate));
    setWindowTitle(tr("Vellumo - Send by email"));
    setModal(true);
    setFont(TemplateFont());
    setFixedSize(DialogUnitsToPixels(QSize(367, 218)));

    // Each label names its field for assistive technology.
    QLabel* fromLabel = Label(this, tr("From:"), 7, 8, 169, 9);
    from_ = Edit(this, IDC_FROM, 6, 18, 171, 12);
    fromLabel->setBuddy(from_);
    QLabel* toLabel = Label(this, tr("To:"), 7, 37, 168, 9);
    to_ = Edit(this, IDC_TO, 6, 47, 171, 12);
    toLabel->setBuddy(to_);
    QLabel* subjectLabel = Label(this, tr("Subject:"), 7, 69, 340, 9);
    subject_ = Edit(this, IDC_SUBJECT, 6, 79, 343, 12);
    subjectLabel->setBuddy(subject_);
    QLabel* messageLabel = Label(this, tr("Message:"), 7, 103, 342, 9);
    message_ = new QPlainTextEdit(this);
    messageLabel->setBuddy(message_);
    message_->setObjectName(QStringLiteral("edit%1").arg(IDC_MESSAGE));
    message_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    message_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    message_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Place(message_, 6, 113, 345, 62);

    send_ = new QPushButton(tr("Send mail"), this);
    send_->setObjectName(QStringLiteral("button%1").arg(IDOK));
    send_->setDefault(true);
    send_->setAutoDefault(true);
    Place(send_, 189, 191, 54, 14);
    cancel_ = new QPushButton(tr("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("button%1").arg(IDCANCEL));
    cancel_->setAutoDefault(false);
    Place(cancel_, 95, 191, 54, 14);
    connect(send_, &QPushButton::clicked, this, &CSendMailDlg::OnOK);
    connect(cancel_, &QPushButton::clicked, this, &CSendMailDlg::OnCancel);

    // Tab order as the controls stand in the template.
    setTabOrder(from_, to_);
    setTabOrder(to_, subject_);
    setTabOrder(subject_, message_);
    setTabOrder(message_, send_);
    setTabOrder(send_, cancel_);
}

QWidget* CSendMailDlg::control(int id) const {
    switch (id) {
        case IDC_FROM:
            return from_;
        case IDC_TO:
            return to_;
        case IDC_SUBJECT:
            return subject_;
        case IDC_MESSAGE:
            return message_;
        case IDOK:
            return send_;
        case IDCANCEL:
            return cancel_;
        default:
            return nullptr;
    }
}

void CSendMailDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!initialised_) {
        initialised_ = true;
        OnInitDialog();
    }
}

bool CSendMailDlg::OnInitDialog() {
    From = SettingsStore::read(setting::SmtpEmailAddress);
    DoDataExchange(false);
    from_->setFocus(Qt::OtherFocusReason);
    SmtpServer = SettingsStore::read(setting::SmtpServer);
    SmtpPort = SettingsStore::read(setting::SmtpPort);
    UserId = SettingsStore::read(setting::SmtpUserId);
    StoredPassword = SettingsStore::read(setting::SmtpPassword);
    Password = QString::fromStdString(RevealPassword(StoredPassword.toStdString()));
    // The focus is set here, not by the framework.
    return false;
}

void CSendMailDlg::DoDataExchange(bool save) {
    if (save) {
        From = from_->text();
        To = to_->text();
        Subject = subject_->text();
        Message = message_->toPlainText();
    } else {
        from_->setText(From);
        to_->setText(To);
        subject_->setText(Subject);
        message_->setPlainText(Message);
    }
}

void CSendMailDlg::OnOK() {
    DoDataExchange(true);
    done(QDialog::Accepted);
}

void CSendMailDlg::OnCancel() {
    done(QDialog::Rejected);
}

void CSendMailDlg::accept() {
    OnOK();
}

void CSendMailDlg::reject() {
    OnCancel();
}

}  // namespace vellumo::output
