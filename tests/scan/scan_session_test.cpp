#include "scan/scan_session.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "scan_test_support.h"

using namespace vellumo::scan;
using namespace vellumo::imaging;
using namespace vellumo::platform;

using namespace scantest;

namespace {

const char kTestScanner[] = "Noname frontend-tester";

ScanSettings Settings(int scanMode, const std::string& resolution, int noFeeder = 1,
                      int duplex = 0) {
    ScanSettings s;
    s.scanMode = scanMode;
    s.brightnessLevel = 3;
    s.duplex = duplex;
    s.noFeeder = noFeeder;
    s.getText = [resolution](const std::string&, const std::string&) { return resolution; };
    return s;
}

// What the main window does with each image and at the end, reduced to counting: the scan is
// finished when the component has no pending transfers.
struct ScanDriver {
    ScannerComponent component;
    RecordingUi ui;
    std::vector<BitmapInfoHeader> images;

    ScanDriver() {
        component.OpenSourceManager();
        component.SetEventCallback(kEventImageTransferred, [this](void*, int, int) {
            images.push_back(DibHeader(*component.ImageHandle()));
            if (component.PendingTransfers() == 0) ui.PostScanFinished();
        });
        component.SetAcquireEndCallback([this](const AcquireEnd& end) { OnAcquireEnded(end, ui); });
    }
    // Runs the event loop until the scan is finished (bounded).
    void RunToEnd() {
        for (int i = 0; i < 600 && ui.scanFinished == 0; ++i) component.WaitForEvents(100);
        ASSERT_EQ(ui.scanFinished, 1);
        FinishScan(component, ui);
    }
};

size_t IndexOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

}  // namespace

TEST(ScanSession, FullFlatbedRunLogsEveryStepInOrder) {
    LogCapture log;
    ScanDriver d;
    ASSERT_TRUE(OnScanPage(d.component, d.ui, Settings(1, "20")));
    EXPECT_EQ(currentSourceName, kTestScanner);
    d.RunToEnd();
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "Opening TWAIN session",
                               "TWAIN session opened successfully",
                               kTestScanner,
                               "Setting current units to: 0",
                               "Before: 0",
                               "After: 0",
                               "Setting pixel type to: 1",
                               "Before: numItems 3, default 1, value 1",
                               "After: numItems 3, default 1, value 1",
                               "Setting X resolution to: 20",
                               "Before: value 50, default 50, min 1, max 1200, step 1",
                               "After: value 20, default 50, min 1, max 1200, step 1",
                               "Setting Y resolution to: 20",
                               "Before: value 20, default 50, min 1, max 1200, step 1",
                               "After: value 20, default 50, min 1, max 1200, step 1",
                               "Brightness capability not supported",
                               "Setting duplex scanning",
                               "Default printer: PDF",
                               "Printer is set to A4, so scanning A4 format",
                               "Image layout before: (0, 0, 3149, 3937)",
                               "Setting image layout to: (0, 0, 8280, 11680)",
                               "Image layout after: (0, 0, 8267, 11692)",
                               "Should not use ADF",
                               "Setting XferCount to: 1",
                               "Start acquire",
                               "All images processed",
                           }));
    const std::string name = kTestScanner;
    EXPECT_EQ(d.ui.calls, (std::vector<std::string>{
                              "wait cursor",
                              "cancel button",
                              "show activity",
                              "disable",
                              "text: Setting up scanner " + name + " ....",
                              "pump",
                              "text: Scanning from " + name + " ....",
                              "pump",
                              "scan finished",
                              "hide activity",
                              "enable",
                          }));
    ASSERT_EQ(d.images.size(), 1u);
    EXPECT_EQ(d.images[0].biBitCount, 8);
    EXPECT_EQ(d.images[0].biWidth, 165);  // 210 mm at 20 dpi
    EXPECT_EQ(d.images[0].biHeight, 233);
    EXPECT_FALSE(d.component.Acquiring());
}

TEST(ScanSession, FeederRunWithLetterFrameAndNoPrinter) {
    LogCapture log;
    ScanDriver d;
    d.ui.printer.reset();
    ASSERT_TRUE(OnScanPage(d.component, d.ui, Settings(0, "10", /*noFeeder=*/0)));
    d.RunToEnd();
    const std::vector<std::string> lines = log.lines();
    EXPECT_LT(IndexOf(lines, "No default printer found, scanning Letter format"), lines.size());
    EXPECT_LT(IndexOf(lines, "Setting image layout to: (0, 0, 8480, 10980)"), lines.size());
    const size_t adf = IndexOf(lines, "Should use ADF");
    ASSERT_LT(adf, lines.size());
    EXPECT_EQ(lines[adf + 1], "Setting XferCount to: -1");
    EXPECT_EQ(lines[adf + 2], "Start acquire");
    ASSERT_EQ(d.images.size(), 10u);
    for (const BitmapInfoHeader& h : d.images) {
        EXPECT_EQ(h.biBitCount, 1);
        EXPECT_EQ(h.biWidth, 84);  // 215 mm at 10 dpi
    }
    EXPECT_EQ(d.ui.scanFinished, 1);
}

TEST(ScanSession, ResolutionTextAsItIsStored) {
    auto with = [](int mode, const std::string& text) {
        return ScanResolution(Settings(mode, text));
    };
    EXPECT_EQ(with(1, ""), 0);
    EXPECT_EQ(with(1, "200dpi"), 200);
    EXPECT_EQ(with(2, "150"), 150);
    EXPECT_EQ(with(0, "abc"), 0);
    EXPECT_EQ(with(3, "75"), 300);
    EXPECT_EQ(with(-1, "75"), 300);
    EXPECT_EQ(with(1, "99999999999999999999"), 0);

    ScanSettings defaults;
    defaults.scanMode = 1;
    std::string asked;
    defaults.getText = [&](const std::string& name, const std::string& def) {
        asked = name + "=" + def;
        return def;
    };
    EXPECT_EQ(ScanResolution(defaults), 150);
    EXPECT_EQ(asked, "ResGrey=150");
}

TEST(ScanSession, EmptyResolutionSendsZeroWhichTheScannerRefusesAndTheScanGoesOn) {
    LogCapture log;
    ScanDriver d;
    ASSERT_TRUE(OnScanPage(d.component, d.ui, Settings(1, "")));
    d.RunToEnd();
    const std::vector<std::string> lines = log.lines();
    const size_t x = IndexOf(lines, "Setting X resolution to: 0");
    ASSERT_LT(x + 2, lines.size());
    EXPECT_EQ(lines[x + 2], "Error while setting resolution:");
    ASSERT_EQ(d.images.size(), 1u);
    EXPECT_EQ(d.images[0].biWidth, 413);  // the device's own 50 dpi
}

TEST(ScanSession, TwoHundredDpiText) {
    LogCapture log;
    ScanDriver d;
    ASSERT_TRUE(OnScanPage(d.component, d.ui, Settings(2, "200dpi")));
    d.component.CloseSession();
    const std::vector<std::string> lines = log.lines();
    EXPECT_LT(IndexOf(lines, "Setting X resolution to: 200"), lines.size());
    EXPECT_LT(IndexOf(lines, "After: value 200, default 50, min 1, max 1200, step 1"),
              lines.size());
}

TEST(ScanSession, DuplexOnAScannerWithoutDuplexWarnsAndScansSimplex) {
    LogCapture log;
    ScanDriver d;
    ASSERT_TRUE(OnScanPage(d.component, d.ui, Settings(1, "10", 1, /*duplex=*/1)));
    d.RunToEnd();
    EXPECT_EQ(d.ui.count("message: Scanner doesn't support duplex mode"), 1);
    const std::vector<std::string> lines = log.lines();
    const size_t at = IndexOf(lines, "Setting duplex scanning");
    ASSERT_LT(at + 1, lines.size());
    EXPECT_EQ(lines[at + 1], "Scanner doesn't support duplex mode");
    EXPECT_EQ(d.images.size(), 1u);
}

TEST(ScanSession, CancelSeenByTheFirstPumpEndsBeforeAnySetting) {
    LogCapture log;
    ScanDriver d;
    d.ui.onPump = [](int n) {
        if (n == 1) cancelRequested = 1;
    };
    EXPECT_FALSE(OnScanPage(d.component, d.ui, Settings(1, "10")));
    const std::vector<std::string> lines = log.lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3], "Cancelled");
    EXPECT_EQ(d.ui.calls.back(), "enable");
    EXPECT_EQ(d.ui.calls[d.ui.calls.size() - 2], "hide activity");
    EXPECT_FALSE(d.component.Acquiring());
    d.component.Capability(kCapUnits);
    EXPECT_THROW(d.component.CapSupported(), ScannerError);  // the source was released
}

TEST(ScanSession, CancelDuringTheSetUpEndsAfterEverySetting) {
    LogCapture log;
    ScanDriver d;
    d.ui.onPump = [](int n) {
        if (n == 2) cancelRequested = 1;
    };
    EXPECT_FALSE(OnScanPage(d.component, d.ui, Settings(1, "10")));
    const std::vector<std::string> lines = log.lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Setting XferCount to: 1");
    EXPECT_EQ(lines.back(), "cancelled");
    EXPECT_EQ(IndexOf(lines, "Start acquire"), lines.size());
    EXPECT_EQ(d.ui.calls.back(), "enable");
    EXPECT_FALSE(d.component.Acquiring());
    d.component.Capability(kCapUnits);
    EXPECT_THROW(d.component.CapSupported(), ScannerError);  // the source was released
}

TEST(ScanSession, SourceThatCannotBeOpened) {
    LogCapture log;
    ScannerComponent c;
    c.CurrentSource(c.AddSource("test:7"));
    RecordingUi ui;
    EXPECT_FALSE(OnScanPage(c, ui, Settings(1, "10")));
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Opening TWAIN session"});
    EXPECT_EQ(ui.calls,
              (std::vector<std::string>{"wait cursor", "warning: Error opening TWAIN session"}));
}

TEST(ScanSession, PixelTypeTheScannerCannotDeliverStopsTheScan) {
    LogCapture log;
    ScanDriver d;
    EXPECT_FALSE(OnScanPage(d.component, d.ui, Settings(3, "10")));
    const std::string expected =
        "Error while setting pixel type:\n5: The value is not allowed for this capability";
    EXPECT_EQ(d.ui.count("warning: " + expected), 1);
    EXPECT_EQ(d.ui.count("beep"), 1);
    const std::vector<std::string> lines = log.lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Error while setting pixel type:");
    EXPECT_EQ(lines.back(), "5: The value is not allowed for this capability");
    EXPECT_EQ(d.ui.calls.back(), "enable");
}

TEST(ScanSession, ReadFailureIsReportedAndEndsTheScan) {
    LogCapture log;
    ScanDriver d;
    d.component.OpenSession();
    d.component.SetOption("read-return-value", "SANE_STATUS_JAMMED");
    ASSERT_TRUE(OnScanPage(d.component, d.ui, Settings(1, "10")));
    d.RunToEnd();
    EXPECT_EQ(d.ui.count("warning: Error while scanning:\n6: The paper is jammed in the document "
                         "feeder. Clear the jam, then scan the remaining pages"),
              1);
    EXPECT_TRUE(d.images.empty());
    const std::vector<std::string> lines = log.lines();
    EXPECT_EQ(lines.back(), "All images processed");
}

TEST(Brightness, StepsFromTheSettingAndValuesByContainer) {
    EXPECT_EQ(BrightnessStep(0), 7);  // "Bright"
    EXPECT_EQ(BrightnessStep(3), 4);  // "Normal"
    EXPECT_EQ(BrightnessStep(6), 1);  // "Dark"
    EXPECT_EQ(BrightnessStep(-4), 7);
    EXPECT_EQ(BrightnessStep(40), 1);
    std::vector<int> range, enumeration, one, array;
    for (int step = 1; step <= 7; ++step) {
        range.push_back(BrightnessValue(step, kContainerRange, 0, 255));
        enumeration.push_back(BrightnessValue(step, kContainerEnumeration, 0, 255));
        one.push_back(BrightnessValue(step, kContainerOneValue, 0, 255));
        array.push_back(BrightnessValue(step, kContainerArray, 0, 255));
    }
    EXPECT_EQ(range, (std::vector<int>{0, 42, 84, 127, 168, 210, 255}));
    EXPECT_EQ(enumeration, (std::vector<int>{-1000, -667, -334, 0, 333, 666, 1000}));
    EXPECT_EQ(one, std::vector<int>(7, 0));
    EXPECT_EQ(array, std::vector<int>(7, 0));
    // A range around zero, with the cut toward zero of the integer division.
    EXPECT_EQ(BrightnessValue(2, kContainerRange, -100, 100), -67);
    EXPECT_EQ(BrightnessValue(4, kContainerRange, -100.7, 100.9), 0);
}

TEST(ComponentError, TextOfOwnAndScannerFailures) {
    EXPECT_EQ(ComponentErrorText(ScannerError(kComponentStatus, 4, "Capability not supported")),
              "4: Capability not supported");
    EXPECT_EQ(ComponentErrorText(ScannerError(9, 9, "Error during device I/O")),
              "9: Error during device I/O");
    EXPECT_EQ(ComponentErrorText(ScannerError(0x10009, 9, "First line\r\nsecond\r\n")),
              "9: First line second\r\n");
    EXPECT_EQ(ComponentErrorText(ScannerError(0x103E8, 2, "own")), "2: own");
    const std::string longText(300, 'x');
    EXPECT_EQ(ComponentErrorText(ScannerError(kComponentStatus, 1, longText)),
              "1: " + std::string(200, 'x'));
}

TEST(ComponentError, ErrorFiveOfAnHpSourceEndsTheScanQuietly) {
    LogCapture log;
    RecordingUi ui;
    currentSourceName = "HP Scanjet 5590";
    errorContext = "Error while scanning:\n";
    ReportComponentError(ScannerError(5, 5, "Source or Source Manager error"), ui);
    EXPECT_EQ(ui.calls, std::vector<std::string>{"scan finished"});
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{
                  "Error while scanning:", "5: Source or Source Manager error", "Error 5!"}));

    // Any other source gets the message.
    currentSourceName = "Canon LiDE";
    errorContext = "Error while scanning:\n";
    RecordingUi other;
    ReportComponentError(ScannerError(5, 5, "Source or Source Manager error"), other);
    EXPECT_EQ(other.calls,
              (std::vector<std::string>{
                  "beep", "warning: Error while scanning:\n5: Source or Source Manager error"}));
    EXPECT_EQ(errorContext, "Error while scanning:\n5: Source or Source Manager error");
    currentSourceName.clear();
}

TEST(AcquireEnded, EachWayEndsTheScanExactlyOnce) {
    LogCapture log;
    currentSourceName = "HP Officejet";
    RecordingUi quiet;
    AcquireEnd hp;
    hp.error = ScannerError(5, 5, "Source or Source Manager error");
    OnAcquireEnded(hp, quiet);
    EXPECT_EQ(quiet.calls, std::vector<std::string>{"scan finished"});

    RecordingUi cancelled;
    AcquireEnd stop;
    stop.cancelled = true;
    OnAcquireEnded(stop, cancelled);
    EXPECT_EQ(cancelled.calls, std::vector<std::string>{"scan finished"});
    EXPECT_EQ(log.lines().back(), "Scan cancelled");

    currentSourceName = "Noname frontend-tester";
    RecordingUi failed;
    AcquireEnd jam;
    jam.error = ScannerError(6, 6, "Document feeder jammed");
    OnAcquireEnded(jam, failed);
    EXPECT_EQ(failed.calls, (std::vector<std::string>{
                                "beep", "warning: Error while scanning:\n6: Document feeder jammed",
                                "scan finished"}));
    currentSourceName.clear();
}
