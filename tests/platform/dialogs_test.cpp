#include "platform/dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/log.h"
#include "platform/page_size.h"
#include "platform/scripted_dialogs.h"
#include "support/test_support.h"

using namespace vellumo::platform;

namespace {

TEST(ScriptedDialogs, AnswersInOrderAndRecordsEveryQuestion) {
    ScriptedDialogs dialogs;
    dialogs.answerMessage(Answer::No);
    dialogs.answerMessage(Answer::Yes);
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Quit anyway?"), MessageIcon::Question,
                         MessageButtons::YesNo),
              Answer::No);
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Clear the list?"), MessageIcon::Question,
                         MessageButtons::YesNo),
              Answer::Yes);
    // Nothing scripted: the answer of a user who closes the box.
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Third"), MessageIcon::Exclamation,
                         MessageButtons::YesNo),
              Answer::No);
    ASSERT_EQ(dialogs.asked().size(), 3u);
    EXPECT_EQ(dialogs.messages(),
              (QStringList{QStringLiteral("Quit anyway?"), QStringLiteral("Clear the list?"),
                           QStringLiteral("Third")}));
    for (const AskedQuestion& q : dialogs.asked()) EXPECT_EQ(q.caption, QStringLiteral("Vellumo"));
    EXPECT_TRUE(dialogs.asked()[1].answered);
    EXPECT_FALSE(dialogs.asked()[2].answered);
    EXPECT_EQ(dialogs.asked()[2].icon, MessageIcon::Exclamation);
}

TEST(ScriptedDialogs, FileDialogsGetTheirRequestsAndScriptedFiles) {
    ScriptedDialogs dialogs;
    dialogs.answerOpenFiles({QStringLiteral("/a.tif"), QStringLiteral("/b.png")});
    dialogs.answerSaveFile(QStringLiteral("/out/x.PDF"), 0);
    EXPECT_EQ(Dialogs()->openFiles(nullptr, {QStringLiteral("Select file(s) to load"),
                                             QStringLiteral("/in/"), QString(), true}),
              (QStringList{QStringLiteral("/a.tif"), QStringLiteral("/b.png")}));
    SaveFileRequest save;
    save.title = QStringLiteral("Save as PDF");
    save.filter = QStringLiteral("PDF File (*.PDF)");
    save.defaultExtension = QStringLiteral("PDF");
    EXPECT_EQ(Dialogs()->saveFile(nullptr, save).path, QStringLiteral("/out/x.PDF"));
    EXPECT_TRUE(Dialogs()->saveFile(nullptr, save).path.isEmpty());  // not scripted: cancelled
    ASSERT_EQ(dialogs.asked().size(), 3u);
    EXPECT_EQ(dialogs.asked()[0].kind, AskedQuestion::Kind::OpenFiles);
    EXPECT_EQ(dialogs.asked()[0].folder, QStringLiteral("/in/"));
    EXPECT_TRUE(dialogs.asked()[0].multiple);
    EXPECT_EQ(dialogs.asked()[1].defaultExtension, QStringLiteral("PDF"));
    EXPECT_FALSE(dialogs.asked()[2].answered);
}

TEST(ScriptedDialogs, InstallsItselfAndRestoresTheRealDialogs) {
    DialogProvider* before = Dialogs();
    {
        ScriptedDialogs outer;
        EXPECT_EQ(Dialogs(), &outer);
        {
            ScriptedDialogs inner;
            EXPECT_EQ(Dialogs(), &inner);
        }
        EXPECT_EQ(Dialogs(), &outer);
    }
    EXPECT_EQ(Dialogs(), before);
    EXPECT_NE(dynamic_cast<QtDialogProvider*>(Dialogs()), nullptr);
}

TEST(ScriptedDialogs, PrinterPaperDecidesThePageSize) {
    ScriptedDialogs dialogs;
    PrinterInfo printer;
    printer.found = true;
    printer.name = "Laser";
    printer.paper = PaperSize::Other;
    dialogs.setPrinter(printer);
    const int saved = printerPageSize;
    EXPECT_EQ(ComputePrinterPageSize(), kPageA4);
    printer.paper = PaperSize::Legal;
    dialogs.setPrinter(printer);
    EXPECT_EQ(ComputePrinterPageSize(), kPageLegal);
    EXPECT_FALSE(ScanFrameIsA4());
    printerPageSize = saved;
}

TEST(QtDialogs, MessageBoxCarriesTheCaptionAndReportsTheButton) {
    QString caption;
    QString text;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        caption = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::Yes)->click();
    });
    QTimer::singleShot(5000, [] {  // never hang
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Quit anyway?"), MessageIcon::Question,
                         MessageButtons::YesNo),
              Answer::Yes);
    EXPECT_EQ(caption, QStringLiteral("Vellumo"));
    EXPECT_EQ(text, QStringLiteral("Quit anyway?"));
}

TEST(QtDialogs, ClosingAYesNoBoxWithoutAButtonIsNo) {
    QTimer::singleShot(0, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Delete?"), MessageIcon::Question,
                         MessageButtons::YesNo),
              Answer::No);
}

TEST(QtDialogs, MailClientWithoutXdgEmailIsNoClient) {
    testsupport::IsolatedHome home;
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", home.path().c_str(), 1);
    EXPECT_EQ(QtDialogProvider().mailWithAttachment(QStringLiteral("/tmp/Images.pdf")),
              MailClientResult::NoClient);
    setenv("PATH", savedPath.c_str(), 1);
}

}  // namespace
