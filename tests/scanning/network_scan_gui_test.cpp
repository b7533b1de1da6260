// Network scanners through the real program: the eSCL test scanner on 127.0.0.1 reached through
// sane-airscan (found by discovery, as users have it) and through SANE's escl back end, scanned
// with SCAN PAGE in the main dialog and with vellumo-cli scan.
#include <QAbstractButton>
#include <QElapsedTimer>
#include <memory>
#include <string>

#include "mainwnd/controls.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "scanning/twain_pro.h"
#include "tests/scan/network_scanners.h"
#include "tests/support/main_dialog_access.h"
#include "tests/support/mainwnd_fixture.h"
#include "widgets/activity_dialog.h"

namespace ctl = vellumo::mainwnd::id;

using namespace vellumo::scan;
using namespace vellumo::widgets;
using namespace vellumo::scanning;
using namespace vellumo::mainwnd;
using namespace scantest;

namespace {

class NetworkScanGui : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SettingsStore::writeText("ResGrey", QStringLiteral("75"));
        SettingsStore::writeText("ResColor", QStringLiteral("75"));
        SettingsStore::writeInt("nType", 1);
        SettingsStore::writeInt("Preview", 0);
    }
    void TearDown() override {
        skin_.reset();
        config_.reset();
        scanner_.reset();
        MainWindowTest::TearDown();
    }
    void StartScanner(EsclBackend backend, EsclScannerSetup setup = {}) {
        if (backend == EsclBackend::Escl) setup.formats = "image/jpeg";
        scanner_ = std::make_unique<EsclTestScanner>(setup);
        ASSERT_TRUE(scanner_->running());
        config_ = std::make_unique<EsclSaneConfig>(backend, *scanner_);
    }
    // The program's window, once the start-up source selection has run.
    CVellumoDlg& open() {
        skin_ = std::make_unique<CVellumoTranslucentDlg>(MainDialogFactory());
        skin_->show();
        ProcessEventsFor(0);
        QElapsedTimer timer;
        timer.start();
        while (twainPro && !twainPro->ready() && timer.elapsed() < 30000) ProcessEventsFor(10);
        EXPECT_TRUE(twainPro && twainPro->ready());
        return *mainDialog;
    }
    void scan(CVellumoDlg& dialog, int timeoutMs = 60000) {
        const int before = count("All images processed\n");
        dialog.OnCommand(ctl::ScanPage);
        QElapsedTimer timer;
        timer.start();
        while (count("All images processed\n") == before && timer.elapsed() < timeoutMs)
            ProcessEventsFor(10);
        ProcessEventsFor(50);
    }
    int count(const std::string& line) const {
        const std::string text = log();
        int n = 0;
        for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++n;
        return n;
    }
    std::vector<QString> messages() {
        std::vector<QString> texts;
        for (const AskedQuestion& q : dialogs().asked())
            if (q.kind == AskedQuestion::Kind::MessageBox) texts.push_back(q.text);
        return texts;
    }
    std::string cli(const std::string& arguments, int* status) {
        return testsupport::capture(std::string(VELLUMO_CLI) + " scan " + arguments + " 2>&1",
                                    status);
    }

    std::unique_ptr<EsclTestScanner> scanner_;
    std::unique_ptr<EsclSaneConfig> config_;
    std::unique_ptr<CVellumoTranslucentDlg> skin_;
};

TEST_F(NetworkScanGui, AirscanScannerIsFoundAndItsFeederScansEverySheet) {
    StartScanner(EsclBackend::Airscan);
    CVellumoDlg& dialog = open();
    EXPECT_EQ(twainPro->component().SourceDeviceName(twainPro->component().CurrentSource()),
              "airscan:e0:Vellumo Test Scanner");
    dialog.noFeeder = 0;
    scan(dialog);
    ASSERT_EQ(Doc().pages.size(), 3u);
    for (const auto& page : Doc().pages) EXPECT_TRUE(testsupport::fileExists(page->sourcePath));
    EXPECT_EQ(dialog.pageView()->count(), 3);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_EQ(EsclTestScanner::Field(scanner_->events("job").back(), "source"), "Feeder");
}

TEST_F(NetworkScanGui, ColourPageFromTheGlassWithTheFeederSwitchedOff) {
    StartScanner(EsclBackend::Airscan);
    SettingsStore::writeInt("nType", 2);
    CVellumoDlg& dialog = open();
    dialog.noFeeder = 1;
    scan(dialog);
    ASSERT_EQ(Doc().pages.size(), 1u);
    const std::string info =
        testsupport::capture("tiffinfo " + testsupport::shellQuote(Doc().pages[0]->sourcePath));
    EXPECT_NE(info.find("Samples/Pixel: 3"), std::string::npos) << info;
    const std::string job = scanner_->events("job").back();
    EXPECT_EQ(EsclTestScanner::Field(job, "source"), "Platen");
    EXPECT_EQ(EsclTestScanner::Field(job, "mode"), "RGB24");
}

TEST_F(NetworkScanGui, JamIsToldAndThePagesBeforeStayInTheList) {
    EsclScannerSetup setup;
    setup.sheets = 5;
    setup.jamAfter = 2;
    StartScanner(EsclBackend::Airscan, setup);
    CVellumoDlg& dialog = open();
    dialog.noFeeder = 0;
    scan(dialog);
    EXPECT_EQ(Doc().pages.size(), 2u);
    const std::vector<QString> shown = messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("jammed in the document feeder")))
        << shown[0].toStdString();
    EXPECT_FALSE(shown[0].contains(QStringLiteral("Document feeder jammed")));
    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_FALSE(activityDialog->isVisible());
}

TEST_F(NetworkScanGui, CancelDuringAFeederRunDeletesTheJobOnTheScanner) {
    EsclScannerSetup setup;
    setup.sheets = 10;
    setup.pageDelay = 0.4;
    StartScanner(EsclBackend::Airscan, setup);
    CVellumoDlg& dialog = open();
    dialog.noFeeder = 0;
    dialog.OnCommand(ctl::ScanPage);
    QElapsedTimer timer;
    timer.start();
    while (Doc().pages.empty() && timer.elapsed() < 30000) ProcessEventsFor(10);
    ASSERT_FALSE(Doc().pages.empty());
    QAbstractButton* cancel = nullptr;
    for (QAbstractButton* b : activityDialog->findChildren<QAbstractButton*>())
        if (b->text().contains(QStringLiteral("Cancel"))) cancel = b;
    ASSERT_TRUE(cancel);
    cancel->click();
    while (count("All images processed\n") == 0 && timer.elapsed() < 60000) ProcessEventsFor(10);
    ProcessEventsFor(300);
    EXPECT_LT(Doc().pages.size(), 10u);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(dialog.isEnabled());
    const std::vector<std::string> deleted = scanner_->events("delete");
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_NE(deleted[0].find("Processing"), std::string::npos) << deleted[0];
}

TEST_F(NetworkScanGui, EsclBackEndScansBlackAndWhiteFromTheFeeder) {
    StartScanner(EsclBackend::Escl);
    SettingsStore::writeInt("nType", 0);
    SettingsStore::writeText("ResBW", QStringLiteral("75"));
    CVellumoDlg& dialog = open();
    // The escl back end lists no scanner without a running Avahi daemon: it is chosen by name.
    ScannerComponent& c = twainPro->component();
    c.CurrentSource(c.AddSource(config_->deviceName()));
    dialog.noFeeder = 0;
    scan(dialog);
    ASSERT_EQ(Doc().pages.size(), 3u);
    const std::string info =
        testsupport::capture("tiffinfo " + testsupport::shellQuote(Doc().pages[0]->sourcePath));
    EXPECT_NE(info.find("Bits/Sample: 1"), std::string::npos) << info;
    EXPECT_TRUE(messages().empty());
}

TEST_F(NetworkScanGui, CommandLineScansFromTheNetworkScanners) {
    if (!testsupport::haveTool("qpdf")) GTEST_SKIP() << "qpdf is not installed";
    EsclScannerSetup setup;
    setup.sheets = 10;
    StartScanner(EsclBackend::Airscan, setup);
    const std::string out = homeDir() + "/feeder.pdf";
    int status = -1;
    std::string output =
        cli("--feeder --resolution 75 -o " + testsupport::shellQuote(out), &status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(testsupport::capture("qpdf --show-npages " + testsupport::shellQuote(out)), "10\n");
    config_.reset();
    scanner_.reset();

    // A jam: the message in words, the pages before it in the PDF, and a failing status.
    setup.sheets = 5;
    setup.jamAfter = 2;
    StartScanner(EsclBackend::Airscan, setup);
    const std::string partial = homeDir() + "/partial.pdf";
    output = cli("--feeder --resolution 75 -o " + testsupport::shellQuote(partial), &status);
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find("jammed in the document feeder"), std::string::npos) << output;
    EXPECT_NE(output.find("the scan stopped early; the 2 pages written to"), std::string::npos)
        << output;
    EXPECT_EQ(testsupport::capture("qpdf --show-npages " + testsupport::shellQuote(partial)),
              "2\n");
    config_.reset();
    scanner_.reset();

    // The escl back end, by device name: a colour page from the glass.
    StartScanner(EsclBackend::Escl);
    const std::string glass = homeDir() + "/glass.pdf";
    output = cli("--device " + testsupport::shellQuote(config_->deviceName()) +
                     " --mode colour --resolution 75 -o " + testsupport::shellQuote(glass),
                 &status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(testsupport::capture("qpdf --show-npages " + testsupport::shellQuote(glass)), "1\n");
    EXPECT_EQ(EsclTestScanner::Field(scanner_->events("job").back(), "mode"), "RGB24");
}

}  // namespace
