// The scan session against network scanners as users have them: the eSCL test scanner through
// sane-airscan and through SANE's escl back end. Every case starts its own scanner on 127.0.0.1,
// scans through the same session the windows and the command line run, and checks what reached
// the scanner (its record of jobs) and what came back (the images).
#include <gtest/gtest.h>
#include <cstdlib>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "network_scanners.h"
#include "scan/sane/option_map.h"
#include "scan/scan_session.h"
#include "scan_test_support.h"

using namespace vellumo::scan;
using namespace vellumo::imaging;
using namespace scantest;

namespace {

// Marks the test scanner draws on every page (escl_test_scanner.py), in 8-pixel blocks.
constexpr int kPagePatchX = 48, kPagePatchY = 48;   // 250 - 10 * page number
constexpr int kBackPatchX = 112, kBackPatchY = 48;  // the same, on the back of a sheet
constexpr int kGreyPatchX = 48, kGreyPatchY = 112;  // follows the brightness
constexpr int kRedPatchX = 112, kRedPatchY = 112;

struct Pixel {
    int r, g, b;
};

Pixel PixelAt(const std::vector<uint8_t>& dib, int x, int y) {
    const BitmapInfoHeader h = DibHeader(dib);
    const uint8_t* row = DibRow(dib, y);
    if (h.biBitCount == 24) return {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]};
    int index = h.biBitCount == 8 ? row[x] : (row[x / 8] >> (7 - x % 8)) & 1;
    const RgbQuad& q = DibPalette(dib)[index];
    return {q.rgbRed, q.rgbGreen, q.rgbBlue};
}

int GreyAt(const std::vector<uint8_t>& dib, int x, int y) {
    const Pixel p = PixelAt(dib, x, y);
    return (p.r + p.g + p.b) / 3;
}

// The page number the scanner drew on an image.
int PageNumber(const std::vector<uint8_t>& dib) {
    return (250 - GreyAt(dib, kPagePatchX, kPagePatchY) + 5) / 10;
}

ScanSettings Settings(int scanMode, int resolution, int noFeeder = 1, int duplex = 0,
                      int brightnessLevel = 3) {
    ScanSettings s;
    s.scanMode = scanMode;
    s.brightnessLevel = brightnessLevel;
    s.duplex = duplex;
    s.noFeeder = noFeeder;
    s.getText = [resolution](const std::string&, const std::string&) {
        return std::to_string(resolution);
    };
    return s;
}

class NetworkScan : public ::testing::TestWithParam<EsclBackend> {
protected:
    // Starts the scanner and points SANE at it through the back end under test.
    void Start(EsclScannerSetup setup = {}) {
        // The escl back end reads only colour PNG pages; a scanner offering JPEG suits it (as
        // most do).
        if (GetParam() == EsclBackend::Escl) setup.formats = "image/jpeg";
        scanner_ = std::make_unique<EsclTestScanner>(setup);
        ASSERT_TRUE(scanner_->running());
        config_ = std::make_unique<EsclSaneConfig>(GetParam(), *scanner_);
        ui_.printer.reset();  // no default printer: the Letter frame
        component_ = std::make_unique<ScannerComponent>();
        component_->CurrentSource(component_->AddSource(config_->deviceName()));
        component_->SetEventCallback(kEventImageTransferred, [this](void*, int, int) {
            images_.push_back(*component_->ImageHandle());
            if (component_->PendingTransfers() == 0) ui_.PostScanFinished();
        });
        component_->SetAcquireEndCallback([this](const AcquireEnd& end) {
            end_ = end;
            OnAcquireEnded(end, ui_);
        });
    }
    void TearDown() override {
        component_.reset();
        config_.reset();
        scanner_.reset();
    }

    // One whole scan through the session; false when it did not start.
    bool Scan(const ScanSettings& settings, int timeoutMs = 60000) {
        images_.clear();
        end_.reset();
        ui_.scanFinished = 0;
        if (!OnScanPage(*component_, ui_, settings)) return false;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (ui_.scanFinished == 0 && std::chrono::steady_clock::now() < deadline)
            component_->WaitForEvents(100);
        EXPECT_EQ(ui_.scanFinished, 1) << "the scan did not end in time";
        FinishScan(*component_, ui_);
        return true;
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const std::string& c : ui_.calls)
            if (c.rfind("warning: ", 0) == 0 || c.rfind("message: ", 0) == 0) out.push_back(c);
        return out;
    }
    std::string LastJob() const {
        const std::vector<std::string> jobs = scanner_->events("job");
        return jobs.empty() ? std::string() : jobs.back();
    }
    std::string JobField(const std::string& name) const {
        return EsclTestScanner::Field(LastJob(), name);
    }

    std::unique_ptr<EsclTestScanner> scanner_;
    std::unique_ptr<EsclSaneConfig> config_;
    std::unique_ptr<ScannerComponent> component_;
    RecordingUi ui_;
    std::vector<std::vector<uint8_t>> images_;
    std::optional<AcquireEnd> end_;
};

INSTANTIATE_TEST_SUITE_P(Backends, NetworkScan,
                         ::testing::Values(EsclBackend::Airscan, EsclBackend::Escl),
                         [](const auto& info) { return std::string(BackendName(info.param)); });

TEST_P(NetworkScan, GlassInEveryModeAtTwoResolutions) {
    Start();
    const struct {
        int mode;
        const char* job;
        int bits;
    } modes[] = {
        {kPixelBw, "Grayscale8", 1}, {kPixelGray, "Grayscale8", 8}, {kPixelRgb, "RGB24", 24}};
    for (const auto& m : modes) {
        for (int dpi : {150, 300}) {
            SCOPED_TRACE(std::to_string(m.mode) + " at " + std::to_string(dpi));
            ASSERT_TRUE(Scan(Settings(m.mode, dpi)));
            EXPECT_TRUE(Messages().empty());
            EXPECT_EQ(JobField("source"), "Platen");
            EXPECT_EQ(JobField("mode"), m.job);
            EXPECT_EQ(JobField("xres"), std::to_string(dpi));
            EXPECT_EQ(JobField("yres"), std::to_string(dpi));
            ASSERT_EQ(images_.size(), 1u);
            const BitmapInfoHeader h = DibHeader(images_[0]);
            EXPECT_EQ(h.biBitCount, m.bits);
            // The Letter frame of 8.48 x 10.98 inches.
            EXPECT_NEAR(h.biWidth, 8.48 * dpi, 2);
            EXPECT_NEAR(h.biHeight, 10.98 * dpi, 2);
            EXPECT_NEAR(h.biXPelsPerMeter, dpi / 0.0254, 2);
            // The marks: black border, the first page's patch, and colour where asked for.
            EXPECT_LT(GreyAt(images_[0], 2, 2), 30);
            EXPECT_GT(GreyAt(images_[0], 300, 300), 225);
            if (m.mode == kPixelBw) continue;
            EXPECT_EQ(PageNumber(images_[0]), 1);
            const Pixel red = PixelAt(images_[0], kRedPatchX, kRedPatchY);
            if (m.mode == kPixelRgb) {
                EXPECT_GT(red.r, 200);
                EXPECT_LT(red.g, 50);
            } else {
                EXPECT_EQ(red.r, red.g);
                EXPECT_NEAR(red.r, 76, 8);  // red's luminance
            }
        }
    }
    EXPECT_EQ(scanner_->events("job").size(), 6u);
}

TEST_P(NetworkScan, FeederTakesEverySheetInOrder) {
    for (int sheets : {3, 10}) {
        SCOPED_TRACE(std::to_string(sheets) + " sheets");
        EsclScannerSetup setup;
        setup.sheets = sheets;
        Start(setup);
        ASSERT_TRUE(Scan(Settings(kPixelGray, 75, 0)));
        EXPECT_TRUE(Messages().empty());
        EXPECT_EQ(JobField("source"), "Feeder");
        EXPECT_EQ(JobField("duplex"), "false");
        ASSERT_EQ(images_.size(), static_cast<size_t>(sheets));
        for (int i = 0; i < sheets; ++i) EXPECT_EQ(PageNumber(images_[i]), i + 1) << i;
        EXPECT_EQ(scanner_->events("page").size(), static_cast<size_t>(sheets));
        TearDown();
    }
}

TEST_P(NetworkScan, DuplexGivesBothSidesOfEverySheet) {
    EsclScannerSetup setup;
    setup.sheets = 2;
    Start(setup);
    ASSERT_TRUE(Scan(Settings(kPixelGray, 75, 0, 1)));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(JobField("source"), "Feeder");
    EXPECT_EQ(JobField("duplex"), "true");
    EXPECT_EQ(scanner_->events("page").size(), 4u);
    // The escl back end fetches the last sheet's back, then finds the feeder empty and drops it.
    ASSERT_EQ(images_.size(), GetParam() == EsclBackend::Escl ? 3u : 4u);
    for (size_t i = 0; i < images_.size(); ++i) {
        EXPECT_EQ(PageNumber(images_[i]), static_cast<int>(i) + 1);
        // Fronts have no back mark, backs have one.
        const bool back = i % 2 == 1;
        EXPECT_EQ(GreyAt(images_[i], kBackPatchX, kBackPatchY) < 240, back) << i;
    }
}

TEST_P(NetworkScan, BrightnessReachesTheScanner) {
    Start();
    ASSERT_TRUE(Scan(Settings(kPixelGray, 75)));
    ASSERT_EQ(images_.size(), 1u);
    const int normal = GreyAt(images_[0], kGreyPatchX, kGreyPatchY);
    EXPECT_NEAR(normal, 128, 4);
    ASSERT_TRUE(Scan(Settings(kPixelGray, 75, 1, 0, 0)));  // "Bright"
    ASSERT_EQ(images_.size(), 1u);
    if (GetParam() == EsclBackend::Airscan) {
        // sane-airscan brightens the image itself.
        EXPECT_GT(GreyAt(images_[0], kGreyPatchX, kGreyPatchY), normal + 20);
    } else {
        // The escl back end sends the scanner's brightest value, but under a wrong element name
        // that a scanner ignores.
        EXPECT_EQ(JobField("brightness-support"), "2000");
    }
}

TEST_P(NetworkScan, PageFrameIsLetterOrA4AsThePrinterSays) {
    Start();
    ui_.printer.reset();  // no default printer: Letter
    ASSERT_TRUE(Scan(Settings(kPixelGray, 75)));
    EXPECT_NEAR(std::stoi(JobField("width")), 2544, 1);
    EXPECT_NEAR(std::stoi(JobField("height")), 3294, 1);
    EXPECT_EQ(JobField("x"), "0");
    EXPECT_EQ(JobField("y"), "0");
    ui_.printer = PrinterInfo{"PDF", true};
    ASSERT_TRUE(Scan(Settings(kPixelGray, 75)));
    EXPECT_NEAR(std::stoi(JobField("width")), 2484, 1);
    EXPECT_NEAR(std::stoi(JobField("height")), 3504, 1);
}

TEST_P(NetworkScan, DisabledFeederScansTheGlass) {
    Start();
    ASSERT_TRUE(Scan(Settings(kPixelGray, 75, 1)));
    EXPECT_EQ(JobField("source"), "Platen");
    EXPECT_EQ(images_.size(), 1u);
    EXPECT_TRUE(scanner_->events("page").size() == 1u);
}

TEST_P(NetworkScan, CancelDuringAFeederRunDeletesTheJob) {
    EsclScannerSetup setup;
    setup.sheets = 10;
    setup.pageDelay = 0.4;
    Start(setup);
    ASSERT_TRUE(OnScanPage(*component_, ui_, Settings(kPixelGray, 75, 0)));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (images_.empty() && std::chrono::steady_clock::now() < deadline)
        component_->WaitForEvents(50);
    ASSERT_FALSE(images_.empty());
    component_->CancelAcquire();
    while (ui_.scanFinished == 0 && std::chrono::steady_clock::now() < deadline)
        component_->WaitForEvents(50);
    ASSERT_EQ(ui_.scanFinished, 1);
    FinishScan(*component_, ui_);
    ASSERT_TRUE(end_.has_value());
    EXPECT_TRUE(end_->cancelled);
    EXPECT_TRUE(Messages().empty());
    EXPECT_LT(images_.size(), 10u);
    EXPECT_LT(scanner_->events("page").size(), 10u);
    // The escl back end stops fetching pages but leaves the job on the scanner.
    if (GetParam() == EsclBackend::Escl) return;
    const std::vector<std::string> deleted = scanner_->events("delete");
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_NE(deleted[0].find("Processing"), std::string::npos) << deleted[0];
}

TEST_P(NetworkScan, EmptyFeederScansTheGlassWhereThereIsOne) {
    EsclScannerSetup setup;
    setup.sheets = 0;
    Start(setup);
    ASSERT_TRUE(Scan(Settings(kPixelGray, 75, 0)));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(images_.size(), 1u);
    EXPECT_EQ(JobField("source"), "Platen");
}

TEST_P(NetworkScan, EmptyFeederOfASheetFedScannerIsToldPlainly) {
    EsclScannerSetup setup;
    setup.sheets = 0;
    setup.noPlaten = true;
    Start(setup);
    ASSERT_TRUE(Scan(Settings(kPixelGray, 75, 0)));
    EXPECT_TRUE(images_.empty());
    const std::vector<std::string> shown = Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("The document feeder is empty"), std::string::npos) << shown[0];
}

TEST_P(NetworkScan, JamIsToldAndThePagesBeforeAreKept) {
    EsclScannerSetup setup;
    setup.sheets = 5;
    setup.jamAfter = 2;
    Start(setup);
    ASSERT_TRUE(Scan(Settings(kPixelGray, 75, 0)));
    ASSERT_EQ(images_.size(), 2u);
    EXPECT_EQ(PageNumber(images_[1]), 2);
    EXPECT_EQ(scanner_->events("jam").size(), 1u);
    // The escl back end takes the jam for the end of the pages: it reports nothing to tell.
    if (GetParam() == EsclBackend::Escl) return;
    const std::vector<std::string> shown = Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("jammed in the document feeder"), std::string::npos) << shown[0];
}

TEST_P(NetworkScan, ScannerGoingAwayMidJobIsToldAndThePagesBeforeAreKept) {
    EsclScannerSetup setup;
    setup.sheets = 5;
    setup.vanishAfter = 2;
    // The escl back end crashes (SANE 1.2.1: fclose of a file it never opened) or, past that,
    // asks the vanished scanner again and again for ever; the README warns of it.
    if (GetParam() == EsclBackend::Escl) GTEST_SKIP() << "the escl back end cannot survive this";
    Start(setup);
    ASSERT_TRUE(Scan(Settings(kPixelGray, 75, 0), 90000));
    EXPECT_EQ(images_.size(), 2u);
    EXPECT_EQ(scanner_->events("vanished").size(), 1u);
    const std::vector<std::string> shown = Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("stopped answering"), std::string::npos) << shown[0];
}

}  // namespace

namespace {

// The SANE test scanner shared by saned on 127.0.0.1, reached through SANE's net back end.
class SharedScan : public ::testing::Test {
protected:
    void SetUp() override {
        saned_ = std::make_unique<SanedTestServer>();
        if (!saned_->problem().empty()) GTEST_SKIP() << saned_->problem();
        saned_->UseClientConfig();
        component_ = std::make_unique<ScannerComponent>();
        component_->SetEventCallback(kEventImageTransferred, [this](void*, int, int) {
            images_.push_back(DibHeader(*component_->ImageHandle()));
            if (component_->PendingTransfers() == 0) ui_.PostScanFinished();
        });
        component_->SetAcquireEndCallback([this](const AcquireEnd& end) {
            end_ = end;
            OnAcquireEnded(end, ui_);
        });
        ui_.printer.reset();
    }
    void TearDown() override {
        component_.reset();
        saned_.reset();
    }
    // Runs the events until the scan has ended or `stop` says so after an image.
    void RunScan(const std::function<void()>& afterFirstImage = nullptr) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        bool acted = false;
        while (ui_.scanFinished == 0 && std::chrono::steady_clock::now() < deadline) {
            component_->WaitForEvents(50);
            if (!acted && afterFirstImage && !images_.empty()) {
                acted = true;
                afterFirstImage();
            }
        }
        ASSERT_EQ(ui_.scanFinished, 1) << "the scan did not end in time";
        FinishScan(*component_, ui_);
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const std::string& c : ui_.calls)
            if (c.rfind("warning: ", 0) == 0 || c.rfind("message: ", 0) == 0) out.push_back(c);
        return out;
    }

    std::unique_ptr<SanedTestServer> saned_;
    std::unique_ptr<ScannerComponent> component_;
    RecordingUi ui_;
    std::vector<BitmapInfoHeader> images_;
    std::optional<AcquireEnd> end_;
};

TEST_F(SharedScan, TheSharedScannersAreListedAndScan) {
    component_->OpenSourceManager();
    ASSERT_EQ(component_->SourceCount(), 2);
    EXPECT_EQ(component_->SourceDeviceName(0), "net:127.0.0.1:test:0");
    EXPECT_EQ(component_->SourceName(0), "Noname frontend-tester");
    ASSERT_TRUE(OnScanPage(*component_, ui_, Settings(kPixelGray, 50)));
    RunScan();
    EXPECT_TRUE(Messages().empty());
    ASSERT_EQ(images_.size(), 1u);
    EXPECT_EQ(images_[0].biBitCount, 8);
    EXPECT_NEAR(images_[0].biWidth, 8.48 * 50, 2);
    EXPECT_NEAR(images_[0].biHeight, 10.98 * 50, 2);
}

TEST_F(SharedScan, FeederRunGivesEverySheet) {
    LogCapture log;
    component_->TraceLog(1);
    component_->CurrentSource(component_->AddSource("net:127.0.0.1:test:0"));
    ASSERT_TRUE(OnScanPage(*component_, ui_, Settings(kPixelGray, 50, 0)));
    RunScan();
    EXPECT_TRUE(Messages().empty());
    ASSERT_EQ(images_.size(), 10u) << [&] {
        std::string all;
        for (const std::string& l : log.allLines()) all += l + "\n";
        return all;
    }();  // the test feeder holds ten sheets
    for (const BitmapInfoHeader& h : images_) EXPECT_EQ(h.biBitCount, 8);
}

TEST_F(SharedScan, CancelStopsTheRun) {
    component_->CurrentSource(component_->AddSource("net:127.0.0.1:test:0"));
    // Big grey pages, so that the run takes a while over the network.
    ASSERT_TRUE(OnScanPage(*component_, ui_, Settings(kPixelGray, 300, 0)));
    RunScan([this] { component_->CancelAcquire(); });
    ASSERT_TRUE(end_.has_value());
    EXPECT_TRUE(end_->cancelled);
    EXPECT_LT(images_.size(), 10u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SharedScan, SanedGoingAwayIsToldAndThePagesBeforeAreKept) {
    // Dying in the middle of a page, saned leaves the net back end reading an end of file that it
    // reports as "no data yet", for ever.
    component_->CurrentSource(component_->AddSource("net:127.0.0.1:test:0"));
    ASSERT_TRUE(OnScanPage(*component_, ui_, Settings(kPixelGray, 300, 0)));
    RunScan([this] { saned_->Kill(); });
    EXPECT_GE(images_.size(), 1u);
    EXPECT_LT(images_.size(), 10u);
    const std::vector<std::string> shown = Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("stopped answering"), std::string::npos) << shown[0];
}

}  // namespace
