// Mailing from the windows, end to end: "MAIL AS PDF" with the send-mail dialog driven like a
// user does, the hand-off to the desktop's mail client, the test mail of the Email page and
// vellumo-cli mail, with a real SMTP server on 127.0.0.1 and the questions scripted.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "document/page_list_ops.h"
#include "imaging/image_buffer.h"
#include "mail/smtp_test_server.h"
#include "mainwnd/controls.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "output/mail_pdf.h"
#include "output/mail_ui.h"
#include "output/send_mail_dlg.h"
#include "platform/cancel.h"
#include "platform/log.h"
#include "platform/messages.h"
#include "platform/scripted_dialogs.h"
#include "platform/settings_store.h"
#include "platform/window_message.h"
#include "res/resources.h"
#include "scanning/twain_pro.h"
#include "tests/support/activity_watch.h"
#include "tests/support/main_dialog_access.h"
#include "widgets/activity_dialog.h"
#include "widgets/dialog_units.h"

using namespace vellumo::platform;
using namespace vellumo::imaging;
using namespace vellumo::mail;
using namespace vellumo::res;
using namespace vellumo::widgets;
using namespace vellumo::document;
using namespace vellumo::scanning;
using namespace vellumo::output;
using namespace vellumo::mainwnd;

using namespace testsupport;
using namespace mailtest;

namespace {

// Fills the send-mail dialog as soon as it is open and presses "Send mail" (or Cancel).
class SendMailUser {
public:
    std::function<void(CSendMailDlg&)> fill;
    bool send = true;
    int opened = 0;

    SendMailUser() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }

private:
    void poll() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<CSendMailDlg*>(w);
            if (!dialog || !dialog->isVisible() || handled_.contains(dialog)) continue;
            handled_.append(dialog);
            ++opened;
            if (fill) fill(*dialog);
            static_cast<QPushButton*>(
                dialog->control(send ? CSendMailDlg::IDOK : CSendMailDlg::IDCANCEL))
                ->click();
        }
    }
    QTimer timer_;
    QList<QWidget*> handled_;
};

void Type(CSendMailDlg& dialog, int id, const QString& text) {
    QWidget* w = dialog.control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(text);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) edit->setPlainText(text);
}

class MailGui : public ::testing::Test {
protected:
    void SetUp() override {
        logFile_ = home_.path() + "/Vellumo_log.mdm";
        InitVellumoResources();
        skin_ = std::make_unique<CVellumoTranslucentDlg>(MainDialogFactory());
        skin_->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(mainDialog);
        // The start-up source selection logs from the GUI thread once discovery is done.
        if (twainPro) twainPro->WaitUntilReady();
        ASSERT_TRUE(activityDialog);
        logPath = logFile_;
        loggingOn = 1;
        cancelRequested = 0;
    }
    void TearDown() override {
        // The pages belong to the main dialog's document: freed before the window goes.
        if (mainDialog) Doc().FreeAllPages();
        skin_.reset();
        loggingOn = 0;
    }
    // A page loaded from a PNG file that ImageMagick draws.
    std::string addPage(const std::string& name, const std::string& drawing) {
        const std::string path = home_.path() + "/" + name;
        EXPECT_EQ(run("/usr/bin/convert " + drawing + " " + shellQuote(path)), 0);
        ImageBuffer thumb{};
        EXPECT_EQ(AllocateImage(thumb, 40, 50, 24), 0);
        EXPECT_EQ(Doc().MakeThumbnail(thumb), 0);
        FreeImage(thumb);
        Doc().AppendPage(path, 0);
        return path;
    }
    void useServer(const TestSmtpServer& server) {
        SettingsStore::write(setting::SmtpServer, QStringLiteral("127.0.0.1"));
        SettingsStore::write(setting::SmtpPort, QString::fromStdString(server.portText()));
        SettingsStore::write(setting::SmtpEmailAddress, QStringLiteral("me@example.org"));
    }
    std::string log() const { return fileExists(logFile_) ? readFile(logFile_) : ""; }
    bool logged(const std::string& line) const {
        return log().find(" - " + line) != std::string::npos;
    }
    // The private hand-off folders of "MAIL AS PDF" in the temporary folder.
    std::vector<std::string> handoffs() const {
        std::vector<std::string> found;
        for (const std::string& f : listDir(home_.tempDir()))
            if (f.rfind("VWmail-", 0) == 0) found.push_back(home_.tempDir() + "/" + f);
        return found;
    }
    std::vector<std::string> messageFiles() const {
        std::vector<std::string> found;
        for (const std::string& f : listDir(home_.tempDir()))
            if (f.rfind("msg", 0) == 0) found.push_back(f);
        return found;
    }

    IsolatedHome home_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<CVellumoTranslucentDlg> skin_;
    std::string logFile_;
};

TEST_F(MailGui, MailAsPdfThroughSmtpDeliversThePdfAndCleansUp) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    useServer(server);
    addPage("first.png", "-size 300x200 gradient:red-blue");
    addPage("second.png", "-size 200x300 plasma:fractal -seed 3");
    // An Images.pdf lying in the shared folder (planted, or from an old version) is never
    // mailed, never touched.
    writeFile(home_.tempDir() + "/Images.pdf", "stale");
    cancelRequested = 1;  // left over from an earlier operation

    std::string pdfAtSend, folderAtSend;
    SendMailUser user;
    user.fill = [&](CSendMailDlg& dialog) {
        pdfAtSend = readFile(mailAttachmentPath);
        folderAtSend = mailAttachmentPath.substr(0, mailAttachmentPath.rfind('/'));
        EXPECT_EQ(dialog.control(CSendMailDlg::IDC_FROM)->property("text").toString(),
                  QStringLiteral("me@example.org"));
        Type(dialog, CSendMailDlg::IDC_TO, QStringLiteral("bob@example.net"));
        Type(dialog, CSendMailDlg::IDC_SUBJECT, QStringLiteral("Two scans"));
        Type(dialog, CSendMailDlg::IDC_MESSAGE, QStringLiteral("Here they are.\nBye"));
    };
    dialogs_.answerMessage(Answer::Ok);
    dialogs_.answerMessage(Answer::Yes);
    mainDialog->OnCommand(id::MailPdf);

    EXPECT_EQ(user.opened, 1);
    EXPECT_EQ(dialogs_.messages(),
              QStringList({"Message successfully sent", "Clear list of pages to send?"}));
    EXPECT_EQ(dialogs_.asked()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialogs_.asked()[0].caption, QStringLiteral("Vellumo"));
    ASSERT_EQ(server.messages().size(), 1u);
    const ParsedMessage mail = ParseMessage(server.messages()[0]);
    EXPECT_EQ(mail.header("From"), "me@example.org");
    EXPECT_EQ(mail.header("To"), "bob@example.net");
    EXPECT_EQ(mail.header("Subject"), "Two scans");
    EXPECT_NE(mail.body.find("Here they are."), std::string::npos);
    ASSERT_EQ(mail.attachments.size(), 1u);
    EXPECT_EQ(mail.attachments[0].first, "Images.pdf");
    EXPECT_EQ(mail.attachments[0].second, pdfAtSend);
    ASSERT_EQ(pdfAtSend.rfind("%PDF-", 0), 0u);
    const std::string received = home_.path() + "/received.pdf";
    writeFile(received, mail.attachments[0].second);
    EXPECT_EQ(capture("qpdf --show-npages " + shellQuote(received)), "2\n");
    EXPECT_EQ(run("qpdf --check " + shellQuote(received) + " >/dev/null"), 0);

    EXPECT_EQ(folderAtSend.rfind(home_.tempDir() + "/VWmail-", 0), 0u) << folderAtSend;
    EXPECT_TRUE(handoffs().empty()) << "the PDF went with its folder after sending";
    EXPECT_EQ(readFile(home_.tempDir() + "/Images.pdf"), "stale");
    EXPECT_TRUE(messageFiles().empty()) << "message file removed after delivery";
    EXPECT_TRUE(Doc().pages.empty());
    EXPECT_TRUE(mainDialog->isEnabled());
    EXPECT_FALSE(activityDialog->isVisible());
    for (const char* line : {"Start mailing as PDF\n", "SmtpConnect successful\n",
                             "SmtpSendMessage successful\n", "Images and attachments deleted"})
        EXPECT_TRUE(logged(line)) << line;
    EXPECT_TRUE(logged("Will save to " + folderAtSend + "/Images.pdf\n"));
    EXPECT_TRUE(logged("SMTP server 127.0.0.1, port " + server.portText() + "\n"));
}

TEST_F(MailGui, CancelledSendMailDialogSendsNothingButStillCleansUp) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    useServer(server);
    addPage("only.png", "-size 100x100 xc:white");
    SendMailUser user;
    user.send = false;
    dialogs_.answerMessage(Answer::No);
    mainDialog->OnCommand(id::MailPdf);
    EXPECT_EQ(user.opened, 1);
    EXPECT_EQ(dialogs_.messages(), QStringList({"Clear list of pages to send?"}));
    EXPECT_TRUE(server.messages().empty());
    EXPECT_TRUE(handoffs().empty());
    EXPECT_EQ(Doc().pages.size(), 1u);
    EXPECT_TRUE(mainDialog->isEnabled());
    EXPECT_FALSE(logged("SmtpInitialize successful"));
}

TEST_F(MailGui, DeliveryFailureNamesTheRecipientAndKeepsTheMessageFile) {
    SettingsStore::write(setting::SmtpServer, QStringLiteral("127.0.0.1"));
    SettingsStore::write(setting::SmtpPort, QString::number(UnusedPort()));
    addPage("only.png", "-size 100x100 xc:white");
    SendMailUser user;
    mainDialog->OnCommand(id::MailPdf);
    ASSERT_EQ(dialogs_.messages().size(), 2);
    EXPECT_EQ(dialogs_.asked()[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(dialogs_.messages()[0].isEmpty());
    EXPECT_EQ(dialogs_.messages()[1], QStringLiteral("Clear list of pages to send?"));
    EXPECT_TRUE(mainDialog->isEnabled());
    EXPECT_FALSE(activityDialog->isVisible());
    EXPECT_TRUE(handoffs().empty());
    EXPECT_EQ(messageFiles().size(), 1u);
}

TEST_F(MailGui, CancelMessageDuringTheTransferStopsItOnce) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    useServer(server);
    SettingsStore::write(setting::Compress, 0);
    addPage("noise1.png", "-size 1400x1400 xc: +noise Random");
    addPage("noise2.png", "-size 1400x1400 xc: +noise Random");
    SendMailUser user;
    user.fill = [](CSendMailDlg& dialog) {
        Type(dialog, CSendMailDlg::IDC_TO, QStringLiteral("bob@example.net"));
    };
    // While the transfer runs, the cancel message arrives three times.
    int posted = 0;
    QTimer poster;
    poster.setInterval(0);
    QObject::connect(&poster, &QTimer::timeout, [&] {
        if (!SmtpSendRunning() || posted >= 3) return;
        ++posted;
        PostWindowMessage(mainDialog, msg::UM_SMTPCANCELLED);
    });
    poster.start();
    mainDialog->OnCommand(id::MailPdf);
    poster.stop();
    SettingsStore::write(setting::Compress, 1);
    // These flows are about building and sending the PDF; text recognition (and its log
    // lines, written as pages are read in the background) has tests of its own.
    SettingsStore::write(setting::OCR, 0);

    EXPECT_GE(posted, 1);
    ASSERT_EQ(dialogs_.messages().size(), 2);
    EXPECT_TRUE(dialogs_.messages()[0].startsWith("Unable to deliver message to bob@example.net: "))
        << dialogs_.messages()[0].toStdString();
    EXPECT_TRUE(server.messages().empty());
    int cancels = 0;
    for (size_t at = log().find("SMTP transfer cancelled"); at != std::string::npos;
         at = log().find("SMTP transfer cancelled", at + 1))
        ++cancels;
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(mainDialog->isEnabled());
}

// Cancel while the PDF is being built: nothing is mailed, nothing is left in the temporary
// folder, and the pages stay in the list without a question about clearing it.
TEST_F(MailGui, CancelDuringThePdfBuildMailsNothingAndKeepsThePages) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    useServer(server);
    SettingsStore::write(setting::OCR, 0);
    const std::string first =
        addPage("page0.tif",
                "-size 2480x3508 plasma: -seed 3 -blur 0x2 -threshold 50% -type bilevel -units "
                "PixelsPerInch -density 300 -compress group4");
    for (int i = 1; i < 120; ++i) {
        const std::string copy = home_.path() + "/page" + std::to_string(i) + ".tif";
        ASSERT_EQ(run("cp " + shellQuote(first) + " " + shellQuote(copy)), 0);
        ImageBuffer thumb{};
        ASSERT_EQ(AllocateImage(thumb, 40, 50, 24), 0);
        ASSERT_EQ(Doc().MakeThumbnail(thumb), 0);
        FreeImage(thumb);
        Doc().AppendPage(copy, 0);
    }
    SendMailUser user;
    bool cancelledMidBuild = false;
    testsupport::WhenActivityShowsPage(10, [&] {
        cancelledMidBuild = SmtpSendRunning() == false;
        qobject_cast<QAbstractButton*>(activityDialog->control(CActivityDialog::IDCANCEL))->click();
    });
    mainDialog->OnCommand(id::MailPdf);

    EXPECT_TRUE(cancelledMidBuild);
    EXPECT_EQ(user.opened, 0) << "the send dialog comes only after a whole PDF";
    EXPECT_TRUE(dialogs_.asked().empty());
    EXPECT_TRUE(server.messages().empty());
    EXPECT_TRUE(handoffs().empty()) << "no PDF, whole or partial, stays behind";
    EXPECT_TRUE(messageFiles().empty());
    EXPECT_EQ(Doc().pages.size(), 120u);
    EXPECT_TRUE(logged("cancelled\n"));
    EXPECT_FALSE(logged("SmtpInitialize successful"));
    EXPECT_TRUE(mainDialog->isEnabled());
    EXPECT_FALSE(activityDialog->isVisible());
}

TEST_F(MailGui, CancelMessageWithoutASendChangesNothing) {
    PostWindowMessage(mainDialog, msg::UM_SMTPCANCELLED);
    QCoreApplication::processEvents();
    EXPECT_EQ(cancelRequested, 0);
    EXPECT_FALSE(SmtpSendRunning());
    EXPECT_TRUE(dialogs_.asked().empty());
}

TEST_F(MailGui, MailClientHandOffWhenSmtpIsOff) {
    SettingsStore::write(setting::ViaSMTP, 0);
    addPage("only.png", "-size 120x80 xc:gray");
    dialogs_.setMailResult(MailClientResult::Started);
    dialogs_.answerMessage(Answer::Ok);
    dialogs_.answerMessage(Answer::No);
    mainDialog->OnCommand(id::MailPdf);
    ASSERT_GE(dialogs_.asked().size(), 1u);
    EXPECT_EQ(dialogs_.asked()[0].kind, AskedQuestion::Kind::Mail);
    const std::string handed = dialogs_.asked()[0].text.toStdString();
    EXPECT_EQ(dialogs_.messages(), QStringList({"*** Mail application ended without errors ***",
                                                "Clear list of pages to send?"}));
    EXPECT_EQ(dialogs_.asked()[1].caption, QCoreApplication::applicationName());
    EXPECT_TRUE(logged("Sending MAPI message\r\n"));
    EXPECT_TRUE(logged("Send MAPI message done, result 0\r\n"));
    // The mail program reads the PDF when the user sends: it stays, named Images.pdf, in a
    // folder only the user can open.
    ASSERT_EQ(handoffs().size(), 1u);
    EXPECT_EQ(handed, handoffs()[0] + "/Images.pdf");
    EXPECT_EQ(readFile(handed).rfind("%PDF-", 0), 0u);
    struct stat st {};
    ASSERT_EQ(stat(handoffs()[0].c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(mainDialog->isEnabled());
    // The log lines of the hand-over, in their order.
    const std::string text = log();
    size_t at = 0;
    for (const char* line :
         {"Loading MAPI32.DLL\r\n", "MAPI32.DLL loaded\r\n", "MAPI: SendMail function found\r\n",
          "Creating image descriptions\r\n", "Image description created\r\n",
          "Calling SendMail\r\n", "Returned from SendMail\r\n"}) {
        at = text.find(line, at);
        EXPECT_NE(at, std::string::npos) << line;
    }

    // No mail program: said right after trying to find it; no second PDF is kept.
    dialogs_.clear();
    loggingOn = 0;
    std::remove(logFile_.c_str());
    loggingOn = 1;
    dialogs_.setMailResult(MailClientResult::NoClient);
    mainDialog->OnCommand(id::MailPdf);
    EXPECT_EQ(dialogs_.messages(),
              QStringList({"Could not find MAPI DLL", "Clear list of pages to send?"}));
    EXPECT_TRUE(logged("Send MAPI message done, result -1\r\n"));
    EXPECT_FALSE(logged("MAPI32.DLL loaded"));
    EXPECT_FALSE(logged("Creating image descriptions"));
    EXPECT_EQ(handoffs().size(), 1u);
    SettingsStore::write(setting::ViaSMTP, 1);
}

TEST_F(MailGui, NoPasswordUnencryptedToAnotherMachine) {
    const std::string address = NonLoopbackAddress();
    if (address.empty()) GTEST_SKIP() << "this machine has no address but loopback";
    ServerMode mode = WithAuth();
    mode.host = address;
    TestSmtpServer server(mode);
    ASSERT_TRUE(server.running());
    QWidget page;
    page.show();
    TestMailFields fields{QStringLiteral("me@example.org"), QString::fromStdString(address),
                          QString::fromStdString(server.portText()), QStringLiteral("alice"),
                          QStringLiteral("secret")};
    EXPECT_EQ(SendTestMail(&page, fields), kMailAuthFailed);
    EXPECT_EQ(dialogs_.messages(),
              QStringList({"The server does not offer an encrypted connection; Vellumo does not "
                           "send your password unencrypted."}));
    EXPECT_EQ(dialogs_.asked()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(server.commands().find("AUTH"), std::string::npos);
}

TEST_F(MailGui, EmptyListHasNothingToMail) {
    mainDialog->OnCommand(id::MailPdf);
    EXPECT_EQ(dialogs_.messages(), QStringList({"Nothing to mail yet"}));
    EXPECT_EQ(dialogs_.asked()[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(activityDialog->isVisible());
    EXPECT_TRUE(logged("Start mailing as PDF\n"));
    EXPECT_FALSE(logged("Will save to"));
}

TEST_F(MailGui, SendMailDialogReadsTheSettingsAndFocusesFrom) {
    {
        CSendMailDlg dialog;
        dialog.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Vellumo - Send by email"));
        EXPECT_EQ(dialog.size(), DialogUnitsToPixels(QSize(367, 218)));
        EXPECT_EQ(dialog.From, QString());
        EXPECT_EQ(dialog.focusWidget(), dialog.control(CSendMailDlg::IDC_FROM));
        EXPECT_EQ(dialog.SmtpPort, QStringLiteral("25"));
        EXPECT_TRUE(static_cast<QPushButton*>(dialog.control(CSendMailDlg::IDOK))->isDefault());
        EXPECT_EQ(static_cast<QPushButton*>(dialog.control(CSendMailDlg::IDOK))->text(),
                  QStringLiteral("Send mail"));
        // Escape is Cancel.
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog.control(CSendMailDlg::IDC_FROM), &escape);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.isVisible());
    }
    SettingsStore::write(setting::SmtpEmailAddress, QStringLiteral("me@example.org"));
    SettingsStore::write(setting::SmtpServer, QStringLiteral("mail.example.org"));
    SettingsStore::write(setting::SmtpPort, QStringLiteral("587"));
    SettingsStore::write(setting::SmtpUserId, QStringLiteral("me"));
    SettingsStore::writePassword(QStringLiteral("pä55"));
    CSendMailDlg dialog;
    dialog.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(static_cast<QLineEdit*>(dialog.control(CSendMailDlg::IDC_FROM))->text(),
              QStringLiteral("me@example.org"));
    EXPECT_EQ(dialog.SmtpServer, QStringLiteral("mail.example.org"));
    EXPECT_EQ(dialog.SmtpPort, QStringLiteral("587"));
    EXPECT_EQ(dialog.UserId, QStringLiteral("me"));
    EXPECT_EQ(dialog.Password, QStringLiteral("pä55"));
    EXPECT_NE(dialog.StoredPassword, dialog.Password);
    // No field is checked: empty ones go out as they are.
    static_cast<QLineEdit*>(dialog.control(CSendMailDlg::IDC_FROM))->clear();
    static_cast<QPushButton*>(dialog.control(CSendMailDlg::IDOK))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.From.isEmpty());
    EXPECT_TRUE(dialog.To.isEmpty());
}

TEST_F(MailGui, TestMailFromTheEmailPage) {
    TestSmtpServer server(WithAuth());
    ASSERT_TRUE(server.running());
    QWidget page;
    page.show();
    TestMailFields fields{QStringLiteral("me@example.org"), QStringLiteral("127.0.0.1"),
                          QString::fromStdString(server.portText()), QStringLiteral("alice"),
                          QStringLiteral("secret")};
    EXPECT_EQ(SendTestMail(&page, fields), kMailSent);
    EXPECT_EQ(dialogs_.messages(), QStringList({"Message successfully sent to me@example.org"}));
    EXPECT_EQ(dialogs_.asked()[0].icon, MessageIcon::None);
    ASSERT_EQ(server.messages().size(), 1u);
    const ParsedMessage mail = ParseMessage(server.messages()[0]);
    EXPECT_EQ(mail.header("Subject"), "Test");
    EXPECT_EQ(mail.header("To"), "me@example.org");
    EXPECT_TRUE(page.isEnabled());
    EXPECT_FALSE(activityDialog->isVisible());
    EXPECT_TRUE(activityDialog->control(CActivityDialog::IDCANCEL)->isVisibleTo(activityDialog));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(logged("Main window disabled\n"));
    EXPECT_FALSE(logged("SmtpConnect successful"));

    // A wrong password: the server's refusal in a warning box, the page usable again.
    dialogs_.clear();
    fields.password = QStringLiteral("wrong");
    EXPECT_EQ(SendTestMail(&page, fields), kMailAuthFailed);
    ASSERT_EQ(dialogs_.messages().size(), 1);
    EXPECT_EQ(dialogs_.asked()[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(page.isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(server.messages().size(), 1u);
}

TEST_F(MailGui, CommandLineMailUsesTheStoredSettings) {
    TestSmtpServer server;
    ASSERT_TRUE(server.running());
    useServer(server);
    const std::string file = home_.path() + "/report.pdf";
    WriteRandomFile(file, 30000);
    int status = -1;
    const std::string out =
        capture(std::string(VELLUMO_CLI_PATH) + " mail --to bob@example.net --subject Report " +
                    shellQuote(file) + " 2>&1",
                &status);
    EXPECT_EQ(status, 0) << out;
    ASSERT_EQ(server.messages().size(), 1u);
    const ParsedMessage mail = ParseMessage(server.messages()[0]);
    EXPECT_EQ(mail.header("From"), "me@example.org");
    ASSERT_EQ(mail.attachments.size(), 1u);
    EXPECT_EQ(mail.attachments[0].second, readFile(file));
    EXPECT_NE(capture(std::string(VELLUMO_CLI_PATH) + " --help").find("mail"), std::string::npos);
}

}  // namespace
