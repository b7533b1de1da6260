// "SAVE AS PDF" as the running program offers it: the main dialog's button, pages loaded from
// real image files made by ImageMagick, the questions answered by a script, and every PDF
// checked with qpdf and pdfinfo.
#include <gtest/gtest.h>

#include <time.h>
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaObject>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "document/page_list_ops.h"
#include "editing/page_transforms.h"
#include "mainwnd/controls.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "output/save_pdf.h"
#include "platform/cancel.h"
#include "platform/documents.h"
#include "platform/log.h"
#include "platform/scripted_dialogs.h"
#include "platform/settings_store.h"
#include "res/resources.h"
#include "scanning/twain_pro.h"
#include "tests/support/activity_watch.h"
#include "tests/support/main_dialog_access.h"
#include "tests/support/test_support.h"
#include "widgets/activity_dialog.h"

namespace ctl = vellumo::mainwnd::id;

using namespace vellumo::platform;
using namespace vellumo::res;
using namespace vellumo::widgets;
using namespace vellumo::document;
using namespace vellumo::editing;
using namespace vellumo::scanning;
using namespace vellumo::output;
using namespace vellumo::mainwnd;

namespace {

using testsupport::capture;
using testsupport::fileExists;
using testsupport::readFile;
using testsupport::run;
using testsupport::shellQuote;

// Each case runs in a process of its own; its home is made before the first setting is read.
testsupport::IsolatedHome* home = nullptr;
struct HomeEnvironment : ::testing::Environment {
    void SetUp() override { home = new testsupport::IsolatedHome; }
    void TearDown() override {
        delete home;
        home = nullptr;
    }
};
[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new HomeEnvironment);

// A scripted answerer that also notes, for every message box, whether the program was busy
// then: activity dialog shown and main window disabled.
class WatchingDialogs : public ScriptedDialogs {
public:
    struct State {
        bool activityShown;
        bool mainEnabled;
    };
    Answer messageBox(QWidget* parent, const QString& text, const QString& caption,
                      MessageIcon icon, MessageButtons buttons) override {
        states.push_back(
            {activityDialog && activityDialog->isVisible(), mainDialog && mainDialog->isEnabled()});
        return ScriptedDialogs::messageBox(parent, text, caption, icon, buttons);
    }
    std::vector<State> states;
};

class SavePdf : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::haveTool("qpdf"));
        ASSERT_TRUE(testsupport::haveTool("pdfinfo"));
        ASSERT_TRUE(fileExists("/usr/bin/convert"));
        saveFolder_ = dir_.file("saved") + "/";
        ASSERT_EQ(run("mkdir -p " + shellQuote(saveFolder_)), 0);
        SettingsStore::write(setting::CurrentDirSave, QString::fromStdString(saveFolder_));
        SettingsStore::write(setting::Compress, 1);
        // These flows are about building and sending the PDF; text recognition (and its log
        // lines, written as pages are read in the background) has tests of its own.
        SettingsStore::write(setting::OCR, 0);
        SettingsStore::write(setting::ComprPerc, QStringLiteral("100"));

        InitVellumoResources();
        skin_ = std::make_unique<CVellumoTranslucentDlg>(MainDialogFactory());
        skin_->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(mainDialog);
        // The start-up source selection logs from the GUI thread once discovery is done.
        if (twainPro) twainPro->WaitUntilReady();
        ASSERT_TRUE(activityDialog);
        log_ = dir_.file("Vellumo_log.mdm");
        logPath = log_;
        loggingOn = 1;
    }
    void TearDown() override {
        // The pages belong to the main dialog's document: freed before the window goes.
        if (mainDialog) Doc().FreeAllPages();
        skin_.reset();
        loggingOn = 0;
        // The command made the save folder the current one; it goes with the test's folder.
        QDir::setCurrent(QString::fromStdString(home->path()));
    }

    std::string f(const std::string& name) const { return dir_.file(name); }

    // Makes an image file with ImageMagick.
    static void Convert(const std::string& arguments, const std::string& out) {
        ASSERT_EQ(run("/usr/bin/convert " + arguments + " " + shellQuote(out)), 0) << out;
    }
    // A 1-bit TIFF of 200 x 300 pixels at 100 dpi.
    std::string BilevelTiff(const std::string& name) {
        const std::string out = f(name);
        Convert(
            "-size 200x300 pattern:checkerboard -type bilevel -units PixelsPerInch -density 100"
            " -compress lzw",
            out);
        return out;
    }
    std::string GreyPng(const std::string& name) {
        const std::string out = f(name);
        Convert(
            "-size 300x200 gradient:white-black -type grayscale -depth 8 -units PixelsPerInch"
            " -density 100",
            out);
        return out;
    }
    std::string ColourJpeg(const std::string& name) {
        const std::string out = f(name);
        Convert(
            "-size 240x160 plasma:red-blue -seed 7 -type truecolor -units PixelsPerInch"
            " -density 80 -quality 95",
            out);
        return out;
    }

    void Load(const std::vector<std::string>& files) {
        QStringList list;
        for (const std::string& file : files) list << QString::fromStdString(file);
        dialogs_.answerOpenFiles(list);
        mainDialog->control(ctl::LoadPage)->click();
        QCoreApplication::processEvents();
        ASSERT_EQ(Doc().pages.size(), files.size());
    }
    void ClickSave() {
        QAbstractButton* button = mainDialog->control(ctl::SavePdf);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled());
        button->click();
        QCoreApplication::processEvents();
    }
    // Starts the log and the record of questions afresh.
    void Forget() {
        testsupport::writeFile(log_, "");
        dialogs_.clear();
        dialogs_.states.clear();
    }
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::istringstream in(fileExists(log_) ? readFile(log_) : "");
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const auto dash = line.find(" - ");
            lines.push_back(dash == std::string::npos ? line : line.substr(dash + 3));
        }
        return lines;
    }
    bool Logged(const std::string& wanted) const {
        for (const std::string& line : LogLines())
            if (line == wanted) return true;
        return false;
    }
    static std::string PdfInfo(const std::string& pdf, int lastPage = 1) {
        return capture("pdfinfo -f 1 -l " + std::to_string(lastPage) + " " + shellQuote(pdf) +
                       " 2>&1");
    }
    static bool ValidPdf(const std::string& pdf) {
        return run("qpdf --check " + shellQuote(pdf) + " >/dev/null 2>&1") == 0;
    }
    void ExpectIdle() const {
        EXPECT_FALSE(activityDialog->isVisible());
        EXPECT_TRUE(mainDialog->isEnabled());
    }

    testsupport::TempDir dir_;
    std::string log_;
    std::string saveFolder_;
    WatchingDialogs dialogs_;
    std::unique_ptr<CVellumoTranslucentDlg> skin_;
};

TEST_F(SavePdf, EmptyListSaysSoAndOpensNoDialog) {
    Forget();
    ClickSave();
    ASSERT_EQ(dialogs_.asked().size(), 1u);
    EXPECT_EQ(dialogs_.asked()[0].kind, AskedQuestion::Kind::MessageBox);
    EXPECT_EQ(dialogs_.asked()[0].text, QStringLiteral("Nothing to save yet"));
    EXPECT_EQ(dialogs_.asked()[0].caption, QStringLiteral("Vellumo"));
    EXPECT_EQ(dialogs_.asked()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(LogLines(), std::vector<std::string>{"Start saving to PDF"});
    ExpectIdle();
}

TEST_F(SavePdf, CancelledDialogDoesNothingAndAsksInTheRememberedFolder) {
    Load({BilevelTiff("bw.tif")});
    Forget();
    ClickSave();
    ASSERT_EQ(dialogs_.asked().size(), 1u);
    const AskedQuestion& q = dialogs_.asked()[0];
    EXPECT_EQ(q.kind, AskedQuestion::Kind::SaveFile);
    EXPECT_EQ(q.caption, QStringLiteral("Select PDF file to save to"));
    EXPECT_EQ(q.filter, QStringLiteral("PDF File (*.PDF)"));
    EXPECT_EQ(q.defaultName, QString());  // the name field starts empty
    EXPECT_EQ(q.defaultExtension, QStringLiteral("pdf"));
    EXPECT_EQ(q.folder, QString::fromStdString(saveFolder_));
    EXPECT_EQ(LogLines(), std::vector<std::string>{"Start saving to PDF"});
    EXPECT_EQ(Doc().pages.size(), 1u);
    EXPECT_TRUE(testsupport::listDir(saveFolder_).empty());
    ExpectIdle();
}

TEST_F(SavePdf, WithoutARememberedFolderTheDialogStartsInDocumentsNotTheLoadFolder) {
    // LOAD PAGE works in the folder it loaded from last: the current folder is that one.
    Load({BilevelTiff("bw.tif")});
    QDir::setCurrent(QString::fromStdString(dir_.path()));
    // The user's documents folder (the test's private home has one).
    const QString documents = QString::fromStdString(vellumo::platform::DocumentsFolder());
    ASSERT_NE(documents, QDir::current().absolutePath());
    for (const QString& remembered : {QString(), QString::fromStdString(f("gone") + "/")}) {
        mainDialog->currentDirSave = remembered;  // none, or one that no longer exists
        Forget();
        ClickSave();
        ASSERT_EQ(dialogs_.asked().size(), 1u);
        EXPECT_EQ(dialogs_.asked()[0].folder.toStdString(), documents.toStdString())
            << remembered.toStdString();
    }
}

// The save dialog as the user sees it: the desktop's file dialog with its name field.
class RealSaveDialog : public WatchingDialogs {
public:
    SaveFileAnswer saveFile(QWidget* parent, const SaveFileRequest& request) override {
        return QtDialogProvider().saveFile(parent, request);
    }
};

TEST_F(SavePdf, ANameTypedWithoutExtensionGetsPdfInLowerCase) {
    Load({BilevelTiff("bw.tif")});
    RealSaveDialog real;  // installed over the script for this case
    QString startFolder, startName;
    auto typeName = [&](const QString& name) {
        // Types the name into the dialog's name field once it is open, and presses Save.
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [&, name, poll] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll->deleteLater();
            startFolder = dialog->directory().absolutePath();
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(field, nullptr);
            startName = field->text();
            field->setText(name);
            QMetaObject::invokeMethod(dialog, "accept");  // as the Save button does
        });
        poll->start(20);
    };
    for (const auto& [typed, saved] :
         {std::pair<QString, std::string>{"doc1", "doc1.pdf"}, {"doc2.PDF", "doc2.PDF"}}) {
        real.answerMessage(Answer::Ok);
        real.answerMessage(Answer::No);
        typeName(typed);
        ClickSave();
        EXPECT_EQ(startFolder.toStdString() + "/", saveFolder_);
        EXPECT_EQ(startName, QString());
        EXPECT_TRUE(ValidPdf(saveFolder_ + saved)) << saved;
        EXPECT_EQ(testsupport::listDir(saveFolder_).size(), typed == "doc1" ? 1u : 2u);
    }
}

TEST_F(SavePdf, CancelPressedNowStopsButAnEarlierOneDoesNot) {
    Load({BilevelTiff("bw.tif")});
    // A Cancel left over from an earlier operation is forgotten: the dialog opens.
    cancelRequested = 1;
    Forget();
    ClickSave();
    ASSERT_EQ(dialogs_.asked().size(), 1u);
    EXPECT_EQ(dialogs_.asked()[0].kind, AskedQuestion::Kind::SaveFile);

    // A click on Cancel waiting in the queue when the command starts ends it before the dialog.
    Forget();
    activityDialog->showActivity();
    QMetaObject::invokeMethod(activityDialog.data(), "OnCancel", Qt::QueuedConnection);
    ClickSave();
    EXPECT_TRUE(dialogs_.asked().empty());
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"Start saving to PDF", "Cancelled"}));
    EXPECT_EQ(cancelRequested, 1);
    ExpectIdle();
}

TEST_F(SavePdf, ThreePagesMakeOnePdfAndNoKeepsEverything) {
    const std::vector<std::string> files = {BilevelTiff("bw.tif"), GreyPng("grey.png"),
                                            ColourJpeg("colour.jpg")};
    Load(files);
    const std::string out = saveFolder_ + "three.pdf";
    Forget();
    dialogs_.answerSaveFile(QString::fromStdString(out));
    dialogs_.answerMessage(Answer::Ok);
    dialogs_.answerMessage(Answer::No);
    ClickSave();

    ASSERT_TRUE(ValidPdf(out));
    EXPECT_NE(PdfInfo(out).find("Pages:           3\n"), std::string::npos) << PdfInfo(out);
    ASSERT_EQ(dialogs_.asked().size(), 3u);
    EXPECT_EQ(dialogs_.asked()[1].text,
              QString::fromStdString("*** Successfully created " + out + " ***"));
    EXPECT_EQ(dialogs_.asked()[1].icon, MessageIcon::None);
    EXPECT_EQ(dialogs_.asked()[1].buttons, MessageButtons::Ok);
    EXPECT_EQ(dialogs_.asked()[2].text, QStringLiteral("Clear list of pages to save or send?"));
    EXPECT_EQ(dialogs_.asked()[2].buttons, MessageButtons::YesNo);
    // The success is told after the window is usable again.
    ASSERT_EQ(dialogs_.states.size(), 2u);
    EXPECT_FALSE(dialogs_.states[0].activityShown);
    EXPECT_TRUE(dialogs_.states[0].mainEnabled);

    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{
                  "Start saving to PDF", "Will save to " + out, "Creator set", "Producer set",
                  "Title set", "Creation date set", "Loading image 1 of 3 (" + files[0] + ")",
                  "Loading image 2 of 3 (" + files[1] + ")",
                  // "Compress PDF:" at 100 %: no page is made bigger by it.
                  "Image 2 of 3 kept lossless: as JPEG it would not be smaller",
                  "Loading image 3 of 3 (" + files[2] + ")",
                  "Image 3 of 3 kept as it is: its quality (about 95) is not above 100",
                  "Successfully created PDF file " + out, "Images and attachments kept"}));
    EXPECT_EQ(activityDialog->statusText(), QStringLiteral("Creating PDF..."));
    EXPECT_TRUE(activityDialog->control(CActivityDialog::IDCANCEL)->isVisibleTo(activityDialog));
    ExpectIdle();

    // No keeps every page and file; the folder is remembered with its separator.
    ASSERT_EQ(Doc().pages.size(), 3u);
    for (const std::string& file : files) EXPECT_TRUE(fileExists(file)) << file;
    EXPECT_EQ(SettingsStore::read(setting::CurrentDirSave), QString::fromStdString(saveFolder_));
    EXPECT_EQ(mainDialog->currentDirSave, QString::fromStdString(saveFolder_));
}

TEST_F(SavePdf, PagesOfAPdfBroughtInAndSavedAgainKeepTheirJpegDataByteForByte) {
    // A PDF of three photos as img2pdf writes it (each JPEG file embedded as it is), loaded
    // with LOAD PAGE: every page comes in, and saving them again passes the JPEG data through.
    std::vector<std::string> photos;
    std::string list;
    for (int i = 0; i < 3; ++i) {
        photos.push_back(f("photo" + std::to_string(i) + ".jpg"));
        Convert("-size 240x160 plasma:red-blue -seed " + std::to_string(11 + i) +
                    " -type truecolor -units PixelsPerInch -density 80 -quality 90",
                photos.back());
        list += " " + shellQuote(photos.back());
    }
    const std::string in = f("photos.pdf");
    ASSERT_EQ(run("/usr/bin/img2pdf" + list + " -o " + shellQuote(in)), 0);
    dialogs_.answerOpenFiles(QStringList{QString::fromStdString(in)});
    mainDialog->control(ctl::LoadPage)->click();
    QCoreApplication::processEvents();
    ASSERT_EQ(Doc().pages.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Doc().pages[static_cast<size_t>(i)]->pageIndex, i);

    const std::string out = saveFolder_ + "again.pdf";
    Forget();
    dialogs_.answerSaveFile(QString::fromStdString(out));
    dialogs_.answerMessage(Answer::Ok);
    dialogs_.answerMessage(Answer::No);
    ClickSave();
    ASSERT_TRUE(ValidPdf(out));
    EXPECT_NE(PdfInfo(out).find("Pages:           3\n"), std::string::npos) << PdfInfo(out);
    const std::string written = readFile(out);
    size_t at = 0;
    for (const std::string& photo : photos) {
        // In order, each JPEG whole.
        const size_t found = written.find(readFile(photo), at);
        ASSERT_NE(found, std::string::npos) << photo;
        at = found;
    }
    const double ratio = static_cast<double>(written.size()) / readFile(in).size();
    EXPECT_LT(ratio, 1.05);
}

TEST_F(SavePdf, ChosenFolderIsRememberedForTheNextSave) {
    Load({GreyPng("grey.png")});
    const std::string other = f("elsewhere");
    ASSERT_EQ(run("mkdir -p " + shellQuote(other)), 0);
    // A file already there is replaced by the new PDF.
    testsupport::writeFile(other + "/a.pdf", "an older file");
    dialogs_.answerSaveFile(QString::fromStdString(other + "/a.pdf"));
    dialogs_.answerMessage(Answer::Ok);
    dialogs_.answerMessage(Answer::No);
    ClickSave();
    ASSERT_TRUE(ValidPdf(other + "/a.pdf"));
    EXPECT_EQ(SettingsStore::read(setting::CurrentDirSave), QString::fromStdString(other + "/"));

    Forget();
    ClickSave();  // cancelled
    ASSERT_EQ(dialogs_.asked().size(), 1u);
    EXPECT_EQ(dialogs_.asked()[0].folder, QString::fromStdString(other + "/"));
}

TEST_F(SavePdf, RotatedPageComesFromItsCopyAndYesClearsAnUndoableList) {
    const std::vector<std::string> files = {BilevelTiff("bw.tif"), GreyPng("grey.png")};
    Load(files);
    Doc().currentItem = 0;
    mainDialog->OnCommand(ctl::RotateRight);
    const std::string copy = Doc().pages[0]->workingPath;
    ASSERT_FALSE(copy.empty());
    ASSERT_TRUE(fileExists(copy));

    const std::string out = saveFolder_ + "rotated.pdf";
    Forget();
    dialogs_.answerSaveFile(QString::fromStdString(out));
    dialogs_.answerMessage(Answer::Ok);
    dialogs_.answerMessage(Answer::Yes);
    ClickSave();

    ASSERT_TRUE(ValidPdf(out));
    const std::string info = PdfInfo(out, 2);
    // 200 x 300 pixels at 100 dpi, turned: 216 x 144 points; the second page as it was.
    EXPECT_NE(info.find("Page    1 size:  216 x 144 pts"), std::string::npos) << info;
    EXPECT_NE(info.find("Page    2 size:  216 x 144 pts"), std::string::npos) << info;
    EXPECT_TRUE(Logged("Loading image 1 of 2 (" + copy + ")"));

    EXPECT_TRUE(Doc().pages.empty());
    EXPECT_EQ(static_cast<int>(Doc().pageCounter()), 1);
    for (const std::string& file : files) EXPECT_TRUE(fileExists(file)) << file;
    EXPECT_TRUE(Logged("Images and attachments deleted"));
    EXPECT_EQ(mainDialog->pageView()->count(), 0);
    // The copy stays while Undo can bring the cleared list back, and Undo does.
    EXPECT_TRUE(fileExists(copy));
    mainDialog->OnCommand(ctl::Undo);
    ASSERT_EQ(Doc().pages.size(), 2u);
    EXPECT_EQ(Doc().pages[0]->workingPath, copy);
    EXPECT_EQ(mainDialog->pageView()->count(), 2);
    ExpectIdle();
}

TEST_F(SavePdf, CompressionSettingsAreReadAtEachSave) {
    Load({GreyPng("grey.png"), ColourJpeg("colour.jpg")});
    const auto save = [&](const std::string& out) {
        dialogs_.answerSaveFile(QString::fromStdString(out));
        dialogs_.answerMessage(Answer::Ok);
        dialogs_.answerMessage(Answer::No);
        ClickSave();
        EXPECT_TRUE(ValidPdf(out)) << out;
        EXPECT_NE(PdfInfo(out).find("Pages:           2\n"), std::string::npos);
        return readFile(out).size();
    };
    const size_t best = save(saveFolder_ + "q100.pdf");
    // No digits: the lowest quality, still a valid PDF, read without restarting.
    SettingsStore::write(setting::ComprPerc, QStringLiteral("abc"));
    const size_t worst = save(saveFolder_ + "abc.pdf");
    EXPECT_LT(worst * 2, best) << worst << " vs " << best;
    const std::string images = capture("pdfimages -list " + shellQuote(saveFolder_ + "abc.pdf"));
    EXPECT_NE(images.find("jpeg"), std::string::npos) << images;

    // Compression off: the grey page goes in without JPEG.
    SettingsStore::write(setting::Compress, 0);
    save(saveFolder_ + "plain.pdf");
    const std::string plain = capture("pdfimages -list " + shellQuote(saveFolder_ + "plain.pdf"));
    std::istringstream rows(plain);
    std::string header, rule, first;
    std::getline(rows, header);
    std::getline(rows, rule);
    std::getline(rows, first);
    EXPECT_EQ(first.find("jpeg"), std::string::npos) << plain;
    ExpectIdle();
}

TEST_F(SavePdf, FailingBuildKeepsTheExistingPdf) {
    const std::string gone = GreyPng("gone.png");
    Load({BilevelTiff("bw.tif"), gone});
    ASSERT_EQ(std::remove(gone.c_str()), 0);
    const std::string out = saveFolder_ + "old.pdf";
    testsupport::writeFile(out, "%PDF-1.4 the user's earlier document\n");
    const std::string before = readFile(out);

    Forget();
    dialogs_.answerSaveFile(QString::fromStdString(out));
    dialogs_.answerMessage(Answer::Ok);
    ClickSave();

    ASSERT_EQ(dialogs_.asked().size(), 2u);
    EXPECT_EQ(dialogs_.asked()[1].text, QStringLiteral("Unsupported graphics format"));
    EXPECT_EQ(dialogs_.asked()[1].icon, MessageIcon::Exclamation);
    // Told while the build still holds the window.
    ASSERT_EQ(dialogs_.states.size(), 1u);
    EXPECT_TRUE(dialogs_.states[0].activityShown);
    EXPECT_FALSE(dialogs_.states[0].mainEnabled);
    EXPECT_EQ(readFile(out), before);
    EXPECT_FALSE(Logged("Successfully created PDF file " + out));
    EXPECT_EQ(testsupport::listDir(saveFolder_), std::vector<std::string>{"old.pdf"});
    EXPECT_EQ(Doc().pages.size(), 2u);
    ExpectIdle();
}

TEST_F(SavePdf, TargetThatCannotBeCreatedIsReportedAndTheListStays) {
    Load({ColourJpeg("colour.jpg")});
    const std::string notAFolder = f("plain-file");
    testsupport::writeFile(notAFolder, "x");
    const std::string out = notAFolder + "/out.pdf";

    Forget();
    dialogs_.answerSaveFile(QString::fromStdString(out));
    dialogs_.answerMessage(Answer::Ok);
    ClickSave();

    const std::string text = "Could not create PDF file " + out +
                             " (error 2), possibly because the file is in use by another "
                             "application";
    ASSERT_EQ(dialogs_.asked().size(), 2u);
    EXPECT_EQ(dialogs_.asked()[1].text, QString::fromStdString(text));
    EXPECT_EQ(dialogs_.asked()[1].icon, MessageIcon::Exclamation);
    // The text guesses; the details say what it really was.
    EXPECT_EQ(dialogs_.asked()[1].details.toStdString(),
              "the folder " + notAFolder + " does not exist");
    EXPECT_TRUE(Logged(text));
    EXPECT_EQ(readFile(notAFolder), "x");
    EXPECT_EQ(Doc().pages.size(), 1u);
    EXPECT_TRUE(fileExists(Doc().pages[0]->sourcePath));
    ExpectIdle();

    // The window works again: the next save goes through.
    const std::string good = saveFolder_ + "good.pdf";
    dialogs_.answerSaveFile(QString::fromStdString(good));
    dialogs_.answerMessage(Answer::Ok);
    dialogs_.answerMessage(Answer::No);
    ClickSave();
    EXPECT_TRUE(ValidPdf(good));
}

}  // namespace

namespace {

double CpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Notes, at every tick of a fast timer, how much the GUI thread itself worked since the tick
// before: its own CPU time, which waiting for a busy machine does not inflate. A build on the
// GUI thread shows as one long stretch of work without ticks.
class TickWatch {
public:
    TickWatch() {
        last_ = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const double now = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
            longest = std::max(longest, now - last_);
            last_ = now;
            ++ticks;
        });
        timer_.start(10);
    }
    double longest = 0;
    int ticks = 0;

private:
    QTimer timer_;
    double last_;
};

}  // namespace

// Many A4 pages of two colours: the PDF's final write codes each one, which takes a while.
class LongSave : public SavePdf {
protected:
    std::vector<std::string> ManyPages(int count) {
        const std::string first = f("page.tif");
        Convert(
            "-size 2480x3508 plasma: -seed 3 -blur 0x2 -threshold 50% -type bilevel -units "
            "PixelsPerInch -density 300 -compress group4",
            first);
        std::vector<std::string> pages{first};
        for (int i = 1; i < count; ++i) {
            pages.push_back(f("page" + std::to_string(i) + ".tif"));
            EXPECT_EQ(run("cp " + shellQuote(first) + " " + shellQuote(pages.back())), 0);
        }
        return pages;
    }
};

TEST_F(LongSave, TwoHundredPagesKeepTheWindowAnswering) {
    Load(ManyPages(200));
    const std::string out = saveFolder_ + "long.pdf";
    Forget();
    dialogs_.answerSaveFile(QString::fromStdString(out));
    dialogs_.answerMessage(Answer::Ok);
    dialogs_.answerMessage(Answer::No);
    bool mainWasDisabled = false;
    testsupport::WhenActivityShowsPage(100, [&] { mainWasDisabled = !mainDialog->isEnabled(); });

    const double processBefore = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double guiBefore = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    TickWatch watch;
    ClickSave();
    const double guiWork = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - guiBefore;
    const double buildWork = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processBefore - guiWork;

    ASSERT_TRUE(ValidPdf(out));
    EXPECT_NE(PdfInfo(out).find("Pages:           200\n"), std::string::npos) << PdfInfo(out);
    // The build is long enough to tell: done on the GUI thread it would be one stretch many
    // times the longest one allowed.
    EXPECT_GT(buildWork, 1.0) << "GUI thread " << guiWork << " s";
    EXPECT_LT(watch.longest, 0.2) << "ticks " << watch.ticks << ", build " << buildWork << " s";
    EXPECT_GE(watch.ticks, 20);
    EXPECT_TRUE(mainWasDisabled);
    EXPECT_TRUE(Logged("Loading image 200 of 200 (" + f("page199.tif") + ")"));
    EXPECT_TRUE(Logged("Successfully created PDF file " + out));
    ExpectIdle();
}

TEST_F(LongSave, CancelOrEscapeMidBuildKeepsTheOldPdfAndWritesNothing) {
    Load(ManyPages(200));
    const std::string out = saveFolder_ + "old.pdf";
    testsupport::writeFile(out, "%PDF-1.4 the user's earlier document\n");
    const std::string before = readFile(out);
    for (int i = 0; i < 2; ++i) {
        Forget();
        dialogs_.answerSaveFile(QString::fromStdString(out));
        bool mainDisabledAfterCancel = false;
        testsupport::WhenActivityShowsPage(20, [&, i] {
            if (i == 0) {
                qobject_cast<QAbstractButton*>(activityDialog->control(CActivityDialog::IDCANCEL))
                    ->click();
            } else {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(activityDialog.data(), &escape);
            }
            // The build ends its page first: no command may start meanwhile.
            mainDisabledAfterCancel = !mainDialog->isEnabled();
        });
        ClickSave();

        EXPECT_TRUE(mainDisabledAfterCancel) << i;
        EXPECT_EQ(readFile(out), before) << i;
        EXPECT_EQ(testsupport::listDir(saveFolder_), std::vector<std::string>{"old.pdf"}) << i;
        // Only the file name was asked: no failure told, no offer to clear the list.
        EXPECT_EQ(dialogs_.asked().size(), 1u) << i;
        EXPECT_EQ(LogLines().back(), "Cancelled") << i;
        EXPECT_FALSE(Logged("Successfully created PDF file " + out)) << i;
        EXPECT_EQ(Doc().pages.size(), 200u);
        ExpectIdle();
    }
}
