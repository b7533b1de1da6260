// Whole acquisitions from the SANE test scanner.
#include "scan/scanner_component.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <thread>

#include "scan/sane/option_map.h"
#include "scan_test_support.h"

using namespace vellumo::scan;
using namespace vellumo::imaging;

using namespace scantest;

namespace {

void Put(ScannerComponent& c, int code, double value) {
    c.Capability(code);
    c.CapContainer(kContainerOneValue);
    c.CapValue(value);
    c.SetCapability();
}

// Flatbed, one page, pixel type and resolution, a frame of 5 x 10 inches (127 x 254 mm, whole
// millimetres so that the device's 1 mm steps keep it exact).
void SetUpFlatbedPage(ScannerComponent& c, int pixelType, int dpi) {
    Put(c, kCapFeederEnabled, 0);
    Put(c, kCapPixelType, pixelType);
    Put(c, kCapXResolution, dpi);
    Put(c, kCapYResolution, dpi);
    c.SetImageLayout(0, 0, 5, 10);
}

bool AllBytes(const std::vector<uint8_t>& dib, int rowBytesUsed, uint8_t value) {
    const BitmapInfoHeader h = DibHeader(dib);
    for (int y = 0; y < h.biHeight; ++y) {
        const uint8_t* row = DibRow(dib, y);
        for (int i = 0; i < rowBytesUsed; ++i)
            if (row[i] != value) return false;
    }
    return true;
}

}  // namespace

TEST(FlatbedPage, EachPixelTypeAndResolution) {
    struct Case {
        int pixelType;
        int dpi;
        const char* picture;
        int bits;
        uint8_t fill;  // every used byte of every row
    } cases[] = {
        {kPixelBw, 10, "Solid black", 1, 0x00},  // black is index 0
        {kPixelBw, 20, "Solid white", 1, 0xFF},  {kPixelGray, 10, "Solid black", 8, 0},
        {kPixelGray, 20, "Solid white", 8, 255}, {kPixelRgb, 10, "Solid white", 24, 255},
        {kPixelRgb, 20, "Solid black", 24, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.pixelType) + " at " + std::to_string(k.dpi) + " dpi, " +
                     k.picture);
        ScannerComponent c;
        OpenTestDevice(c);
        SetUpFlatbedPage(c, k.pixelType, k.dpi);
        c.SetOption("test-picture", k.picture);
        const Acquisition a = Acquire(c);
        ASSERT_FALSE(a.timedOut);
        ASSERT_FALSE(a.end.has_value());
        ASSERT_EQ(a.images.size(), 1u);
        EXPECT_EQ(a.pendingAfterEach, std::vector<int>{0});
        const std::vector<uint8_t>& dib = *a.images[0];
        const BitmapInfoHeader h = DibHeader(dib);
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biBitCount, k.bits);
        EXPECT_EQ(h.biWidth, 5 * k.dpi);
        EXPECT_EQ(h.biHeight, 10 * k.dpi);
        EXPECT_EQ(h.biXPelsPerMeter, k.dpi == 10 ? 394 : 787);
        EXPECT_EQ(h.biYPelsPerMeter, h.biXPelsPerMeter);
        const int used = k.bits == 1 ? h.biWidth / 8 : h.biWidth * k.bits / 8;
        EXPECT_TRUE(AllBytes(dib, used, k.fill));
        if (k.bits == 1) {
            EXPECT_EQ(DibPalette(dib)[0].rgbBlue, 0);
            EXPECT_EQ(DibPalette(dib)[1].rgbBlue, 255);
        }
        EXPECT_EQ(dib.size(), 40 + (k.bits <= 8 ? (4u << k.bits) : 0) +
                                  RowBytesFor(h.biWidth, k.bits) * static_cast<size_t>(h.biHeight));
        c.Capability(kCapPixelType);
        EXPECT_EQ(c.CapValue(), k.pixelType);
    }
}

TEST(FlatbedPage, A4AtThreeHundredDpiGrey) {
    ScannerComponent c;
    OpenTestDevice(c);
    Put(c, kCapFeederEnabled, 0);
    Put(c, kCapPixelType, kPixelGray);
    Put(c, kCapXResolution, 300);
    Put(c, kCapYResolution, 300);
    c.SetImageLayout(0, 0, 8.28, 11.68);
    const Acquisition a = Acquire(c);
    ASSERT_EQ(a.images.size(), 1u);
    const BitmapInfoHeader h = DibHeader(*a.images[0]);
    EXPECT_EQ(h.biWidth, 2480);
    EXPECT_EQ(h.biHeight, 3507);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biXPelsPerMeter, 11811);
}

TEST(FlatbedPage, SixteenBitGreyAndThreePassColourAreReducedToTheUsualDepths) {
    ScannerComponent c;
    OpenTestDevice(c);
    SetUpFlatbedPage(c, kPixelGray, 10);
    c.SetOption("depth", "16");
    c.SetOption("test-picture", "Solid white");
    Acquisition a = Acquire(c);
    ASSERT_EQ(a.images.size(), 1u);
    EXPECT_EQ(DibHeader(*a.images[0]).biBitCount, 8);
    EXPECT_TRUE(AllBytes(*a.images[0], 50, 255));

    // The colour pattern read in one pass and in three must give the same image.
    SetUpFlatbedPage(c, kPixelRgb, 10);
    c.SetOption("test-picture", "Color pattern");
    a = Acquire(c);
    ASSERT_EQ(a.images.size(), 1u);
    const std::vector<uint8_t> onePass = *a.images[0];
    c.SetOption("three-pass", "yes");
    a = Acquire(c);
    ASSERT_EQ(a.images.size(), 1u);
    EXPECT_EQ(*a.images[0], onePass);
    EXPECT_FALSE(AllBytes(onePass, 150, onePass[40]));  // a pattern, not one colour
}

TEST(Feeder, OneImagePerSheetUntilTheFeederIsEmpty) {
    ScannerComponent c;
    OpenTestDevice(c);
    SetUpFlatbedPage(c, kPixelGray, 10);
    Put(c, kCapFeederEnabled, 1);
    EXPECT_EQ(c.OptionValue("source"), "Automatic Document Feeder");
    Put(c, kCapTransferCount, -1);
    const Acquisition a = Acquire(c);
    ASSERT_FALSE(a.timedOut);
    EXPECT_FALSE(a.end.has_value());
    ASSERT_EQ(a.images.size(), 10u);  // the test feeder holds ten sheets
    EXPECT_EQ(std::count(a.pendingAfterEach.begin(), a.pendingAfterEach.end(), 0), 1);
    EXPECT_EQ(a.pendingAfterEach.back(), 0);
    for (const auto& image : a.images) EXPECT_EQ(DibHeader(*image).biWidth, 50);
    EXPECT_EQ(c.PendingTransfers(), 0);
}

TEST(Feeder, TransferCountLimitsTheRunAndCountsDown) {
    ScannerComponent c;
    OpenTestDevice(c);
    SetUpFlatbedPage(c, kPixelBw, 10);
    Put(c, kCapFeederEnabled, 1);
    Put(c, kCapTransferCount, 3);
    const Acquisition a = Acquire(c);
    EXPECT_EQ(a.pendingAfterEach, (std::vector<int>{2, 1, 0}));
}

TEST(Feeder, CancelStopsTheDeviceAndTheSessionStaysUsable) {
    ScannerComponent c;
    OpenTestDevice(c);
    SetUpFlatbedPage(c, kPixelGray, 20);
    Put(c, kCapFeederEnabled, 1);
    c.SetOption("read-limit", "yes");
    c.SetOption("read-limit-size", "500");
    c.SetOption("read-delay", "yes");
    c.SetOption("read-delay-duration", "20000");
    int images = 0;
    std::optional<AcquireEnd> end;
    c.SetEventCallback(kEventImageTransferred, [&](void*, int, int) {
        if (++images == 1) c.CancelAcquire();
    });
    c.SetAcquireEndCallback([&](const AcquireEnd& e) { end = e; });
    c.StartAcquire();
    for (int i = 0; i < 600 && !end; ++i) c.WaitForEvents(100);
    ASSERT_TRUE(end.has_value());
    EXPECT_TRUE(end->cancelled);
    EXPECT_FALSE(end->error.has_value());
    EXPECT_LT(images, 10);
    EXPECT_EQ(c.PendingTransfers(), 0);

    // The device is free again: a flatbed page right after.
    c.SetOption("read-delay", "no");
    c.SetOption("read-limit", "no");
    Put(c, kCapFeederEnabled, 0);
    const Acquisition a = Acquire(c);
    EXPECT_EQ(a.images.size(), 1u);
}

TEST(Events, DeliveredOnTheThreadThatRunsTheLoopOrThroughTheDispatcher) {
    BlockingEventLoop own;  // outlives the component, as a GUI's event loop does
    ScannerComponent c;
    OpenTestDevice(c);
    SetUpFlatbedPage(c, kPixelGray, 10);
    std::thread::id seen;
    c.SetEventCallback(
        kEventImageTransferred,
        [&](void* owner, int id, int) {
            seen = std::this_thread::get_id();
            EXPECT_EQ(owner, &c);
            EXPECT_EQ(id, 1);
        },
        &c, 1);
    c.StartAcquire();
    for (int i = 0; i < 300 && seen == std::thread::id(); ++i) c.WaitForEvents(100);
    EXPECT_EQ(seen, std::this_thread::get_id());

    int dispatched = 0;
    c.SetDispatcher([&](std::function<void()> work) {
        ++dispatched;
        own.Post(std::move(work));
    });
    seen = std::thread::id();
    c.StartAcquire();
    for (int i = 0; i < 300 && seen == std::thread::id(); ++i) own.WaitForEvents(100);
    EXPECT_EQ(seen, std::this_thread::get_id());
    EXPECT_GE(dispatched, 1);
    EXPECT_EQ(c.ProcessEvents(), 0);  // nothing went to the component's own loop
}

TEST(Sources, DiscoveredOnceWithTheirProductNames) {
    ScannerComponent c;
    c.OpenSourceManager();
    ASSERT_EQ(c.SourceCount(), 2);
    EXPECT_EQ(c.SourceName(0), "Noname frontend-tester");
    EXPECT_EQ(c.SourceDeviceName(0), "test:0");
    EXPECT_EQ(c.SourceDeviceName(1), "test:1");
    EXPECT_EQ(c.CurrentSource(), 0);
    c.CurrentSource(1);
    c.OpenSession();
    EXPECT_EQ(c.CurrentSource(), 1);
    // Another source while a session is open is refused.
    EXPECT_THROW(c.CurrentSource(0), ScannerError);
    c.CloseSession();
    c.CurrentSource(0);
    EXPECT_THROW(c.SourceName(2), ScannerError);
}

TEST(Sources, TheChooserPicksOrCancels) {
    ScannerComponent c;
    EXPECT_THROW(c.SelectSource(), ScannerError);  // no dialog installed
    std::vector<std::string> offered;
    c.SetSourceChooser([&](const std::vector<std::string>& names, int current) {
        offered = names;
        EXPECT_EQ(current, 0);
        return 1;
    });
    c.SelectSource();
    // Two devices of one product are told apart by their SANE names.
    EXPECT_EQ(offered, (std::vector<std::string>{"Noname frontend-tester (test:0)",
                                                 "Noname frontend-tester (test:1)"}));
    EXPECT_EQ(c.CurrentSource(), 1);
    // The stored choice and the field keep the product name alone.
    EXPECT_EQ(c.SourceName(1), "Noname frontend-tester");
    c.SetSourceChooser([](const std::vector<std::string>&, int) { return -1; });
    try {
        c.SelectSource();
        FAIL() << "a cancelled choice must fail";
    } catch (const ScannerError& e) {
        EXPECT_EQ(e.status(), kComponentStatus);
        EXPECT_EQ(e.ErrorCode(), kErrSelectionCancelled);
    }
    EXPECT_EQ(c.CurrentSource(), 1);
}

TEST(Capabilities, WhatTheTestScannerOffers) {
    ScannerComponent c;
    OpenTestDevice(c);
    c.Capability(kCapPixelType);
    ASSERT_TRUE(c.CapSupported());
    EXPECT_EQ(c.CapContainer(), kContainerEnumeration);
    EXPECT_EQ(c.CapNumItems(), 3);  // black and white as grey at depth 1, grey, colour
    EXPECT_EQ(c.CapValue(), kPixelGray);
    c.Capability(kCapXResolution);
    EXPECT_EQ(c.CapContainer(), kContainerRange);
    EXPECT_EQ(c.CapMin(), 1);
    EXPECT_EQ(c.CapMax(), 1200);
    EXPECT_EQ(c.CapValue(), 50);
    c.Capability(kCapBrightness);
    EXPECT_FALSE(c.CapSupported());
    EXPECT_THROW(c.CapValue(), ScannerError);
    c.Capability(kCapDuplex);
    EXPECT_FALSE(c.CapSupported());
    c.Capability(kCapFeederEnabled);
    EXPECT_TRUE(c.CapSupported());
    EXPECT_EQ(c.CapValue(), 0);
    c.Capability(kCapUnits);
    EXPECT_EQ(c.CapContainer(), kContainerOneValue);
    EXPECT_EQ(c.CapValue(), 0);

    Put(c, kCapPixelType, kPixelBw);
    EXPECT_EQ(c.OptionValue("mode"), "Gray");
    EXPECT_EQ(c.OptionValue("depth"), "1");
    c.Capability(kCapPixelType);
    EXPECT_EQ(c.CapValue(), kPixelBw);
    EXPECT_EQ(c.CapDefault(), kPixelGray);
    Put(c, kCapPixelType, kPixelRgb);
    EXPECT_EQ(c.OptionValue("mode"), "Color");
    EXPECT_EQ(c.OptionValue("depth"), "8");
}

TEST(Capabilities, ValuesTheComponentRefuses) {
    ScannerComponent c;
    OpenTestDevice(c);
    auto refusedWith = [&](int code, double value) {
        try {
            Put(c, code, value);
        } catch (const ScannerError& e) {
            EXPECT_EQ(e.status(), kComponentStatus);
            return e.ErrorCode();
        }
        return 0;
    };
    EXPECT_EQ(refusedWith(kCapUnits, 1), kErrBadValue);
    EXPECT_EQ(refusedWith(kCapXResolution, 0), kErrBadValue);
    EXPECT_EQ(refusedWith(kCapXResolution, 5000), kErrBadValue);
    EXPECT_EQ(refusedWith(kCapTransferCount, 0), kErrBadValue);
    EXPECT_EQ(refusedWith(kCapPixelType, 7), kErrBadValue);
    EXPECT_EQ(refusedWith(kCapBrightness, 0), kErrCapabilityNotSupported);
    EXPECT_EQ(refusedWith(kCapDuplexEnabled, 1), kErrCapabilityNotSupported);
    // The resolution the device had stays.
    c.Capability(kCapXResolution);
    EXPECT_EQ(c.CapValue(), 50);
    EXPECT_THROW(c.ShowUI(true), ScannerError);
    c.ShowUI(false);
}

TEST(ImageLayout, InchesOverTheDevicesMillimetres) {
    ScannerComponent c;
    OpenTestDevice(c);
    double l, t, r, b;
    c.GetImageLayout(l, t, r, b);
    EXPECT_DOUBLE_EQ(l, 0);
    EXPECT_NEAR(r, 80 / 25.4, 1e-9);
    EXPECT_NEAR(b, 100 / 25.4, 1e-9);
    c.SetImageLayout(1, 2, 5, 6);  // 25.4 -> 25 mm, 50.8 -> 51 mm on the device's whole millimetres
    c.GetImageLayout(l, t, r, b);
    EXPECT_NEAR(l, 25 / 25.4, 1e-9);
    EXPECT_NEAR(t, 51 / 25.4, 1e-9);
    EXPECT_NEAR(r, 127 / 25.4, 1e-9);
    EXPECT_NEAR(b, 152 / 25.4, 1e-9);
    // A frame further right than the old one's right edge is set in the right order.
    c.SetImageLayout(6, 7, 7, 8);
    c.GetImageLayout(l, t, r, b);
    EXPECT_NEAR(l, 152 / 25.4, 1e-9);
    EXPECT_NEAR(r, 178 / 25.4, 1e-9);
    EXPECT_THROW(c.SetImageLayout(2, 0, 1, 1), ScannerError);
}

TEST(ScannerFailures, CarryTheSaneStatusAndItsText) {
    ScannerComponent c;
    OpenTestDevice(c);
    // A value the device itself refuses.
    try {
        c.SetOption("mode", "Lineart");
        FAIL() << "the test scanner has no line-art mode";
    } catch (const ScannerError& e) {
        EXPECT_EQ(e.status(), 4);  // SANE_STATUS_INVAL
        EXPECT_EQ(e.ErrorCode(), 4);
        EXPECT_EQ(e.ErrorText(), "Invalid argument");
    }
    // An option that is there but switched off by another (the hand scanner has a fixed width).
    c.SetOption("hand-scanner", "yes");
    EXPECT_THROW(c.SetImageLayout(0, 0, 2, 2), ScannerError);
    c.SetOption("hand-scanner", "no");

    // Reading that fails.
    SetUpFlatbedPage(c, kPixelGray, 10);
    c.SetOption("read-return-value", "SANE_STATUS_IO_ERROR");
    const Acquisition a = Acquire(c);
    ASSERT_TRUE(a.end.has_value());
    ASSERT_TRUE(a.end->error.has_value());
    EXPECT_EQ(a.end->error->status(), 9);
    // Told as what it means for the user, not as SANE's "Error during device I/O".
    EXPECT_EQ(a.end->error->ErrorText(),
              "The scanner stopped answering in the middle of the scan. Check that it is "
              "switched on and connected, then scan again");
    EXPECT_TRUE(a.images.empty());
    EXPECT_EQ(c.PendingTransfers(), 0);

    try {
        c.SetOption("no-such-option", "1");
        FAIL();
    } catch (const ScannerError& e) {
        EXPECT_EQ(e.ErrorCode(), kErrNoSuchOption);
    }
}

TEST(ScannerFailures, ADeviceThatIsNotThere) {
    ScannerComponent c;
    c.CurrentSource(c.AddSource("test:7"));
    try {
        c.OpenSession();
        FAIL() << "test:7 does not exist";
    } catch (const ScannerError& e) {
        EXPECT_NE(e.status(), kComponentStatus);
        EXPECT_FALSE(e.ErrorText().empty());
    }
    // Without a session nothing can be asked or started.
    c.Capability(kCapPixelType);
    EXPECT_THROW(c.CapSupported(), ScannerError);
    EXPECT_THROW(c.StartAcquire(), ScannerError);
}

TEST(Session, ClosingDuringARunStopsItAndDropsWhatWasUnderway) {
    ScannerComponent c;
    OpenTestDevice(c);
    SetUpFlatbedPage(c, kPixelGray, 20);
    Put(c, kCapFeederEnabled, 1);
    c.SetOption("read-delay", "yes");
    int images = 0;
    c.SetEventCallback(kEventImageTransferred, [&](void*, int, int) { ++images; });
    c.StartAcquire();
    EXPECT_THROW(c.SetOption("read-delay", "no"), ScannerError);  // busy
    c.CloseSession();
    EXPECT_FALSE(c.Acquiring());
    c.ProcessEvents();
    EXPECT_EQ(images, 0);
}

namespace {

struct Pnm {
    char kind = 0;
    int width = 0, height = 0;
    std::string pixels;
};

// Reads scanimage's PBM, PGM or PPM output.
Pnm ReadPnm(const std::string& data) {
    Pnm p;
    size_t at = 0;
    auto token = [&]() {
        for (;;) {
            while (at < data.size() && std::isspace(static_cast<unsigned char>(data[at]))) ++at;
            if (at < data.size() && data[at] == '#') {
                while (at < data.size() && data[at] != '\n') ++at;
                continue;
            }
            break;
        }
        const size_t start = at;
        while (at < data.size() && !std::isspace(static_cast<unsigned char>(data[at]))) ++at;
        return data.substr(start, at - start);
    };
    const std::string magic = token();
    if (magic.size() != 2) return p;
    p.kind = magic[1];
    p.width = std::stoi(token());
    p.height = std::stoi(token());
    if (p.kind != '4') token();  // maximum value
    p.pixels = data.substr(at + 1);
    return p;
}

}  // namespace

TEST(FlatbedPage, PixelsAgreeWithScanimage) {
    if (!testsupport::haveTool("scanimage")) GTEST_SKIP() << "scanimage is not installed";
    struct Case {
        int pixelType;
        const char* mode;
        const char* depth;
        const char* picture;
    } cases[] = {
        {kPixelBw, "Gray", "1", "Grid"},
        {kPixelGray, "Gray", "8", "Color pattern"},
        {kPixelRgb, "Color", "8", "Color pattern"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.mode + std::string(" ") + k.depth);
        ScannerComponent c;
        OpenTestDevice(c);
        SetUpFlatbedPage(c, k.pixelType, 20);
        c.SetOption("test-picture", k.picture);
        const Acquisition a = Acquire(c);
        ASSERT_EQ(a.images.size(), 1u);
        const std::vector<uint8_t>& dib = *a.images[0];
        c.CloseSession();

        const Pnm reference = ReadPnm(testsupport::capture(
            std::string("timeout 60 scanimage -d test:0 --source Flatbed --mode ") + k.mode +
            " --depth " + k.depth + " --resolution 20 -l 0 -t 0 -x 127 -y 254 --test-picture '" +
            k.picture + "' --format=pnm 2>/dev/null"));
        const BitmapInfoHeader h = DibHeader(dib);
        ASSERT_EQ(reference.width, h.biWidth);
        ASSERT_EQ(reference.height, h.biHeight);
        const int w = h.biWidth;
        for (int y = 0; y < h.biHeight; ++y) {
            const uint8_t* row = DibRow(dib, y);
            for (int x = 0; x < w; ++x) {
                int ours, theirs;
                if (k.pixelType == kPixelBw) {
                    const size_t stride = static_cast<size_t>(w + 7) / 8;
                    const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
                    ours = (row[x / 8] & bit) ? 1 : 0;  // 1: white (index 1)
                    theirs = (static_cast<uint8_t>(reference.pixels[y * stride + x / 8]) & bit)
                                 ? 0
                                 : 1;  // 1: black
                } else if (k.pixelType == kPixelGray) {
                    ours = row[x];
                    theirs = static_cast<uint8_t>(reference.pixels[static_cast<size_t>(y) * w + x]);
                } else {
                    const size_t at = (static_cast<size_t>(y) * w + x) * 3;
                    ours = row[x * 3 + 2] << 16 | row[x * 3 + 1] << 8 | row[x * 3];
                    theirs = static_cast<uint8_t>(reference.pixels[at]) << 16 |
                             static_cast<uint8_t>(reference.pixels[at + 1]) << 8 |
                             static_cast<uint8_t>(reference.pixels[at + 2]);
                }
                ASSERT_EQ(ours, theirs) << "at " << x << ", " << y;
            }
        }
    }
}

TEST(FlatbedPage, HandScannerOfUnknownHeightGivesTheWholeImage) {
    ScannerComponent c;
    OpenTestDevice(c);
    Put(c, kCapFeederEnabled, 0);
    Put(c, kCapXResolution, 10);
    Put(c, kCapYResolution, 10);
    c.SetOption("hand-scanner", "yes");
    const Acquisition a = Acquire(c);
    ASSERT_EQ(a.images.size(), 1u);
    const BitmapInfoHeader h = DibHeader(*a.images[0]);
    EXPECT_EQ(h.biWidth, 43);  // the hand scanner's fixed 11 cm
    EXPECT_EQ(h.biHeight, 66);
    EXPECT_EQ(a.images[0]->size(), 40 + 1024 + 44u * 66);
}

TEST(Feeder, AnEmptyFeederScansOnePageFromTheGlass) {
    ScannerComponent c;
    OpenTestDevice(c);
    SetUpFlatbedPage(c, kPixelGray, 10);
    Put(c, kCapFeederEnabled, 1);
    Put(c, kCapTransferCount, 10);
    Acquisition a = Acquire(c);
    ASSERT_EQ(a.images.size(), 10u);  // all ten sheets of the test feeder: it is empty now
    Put(c, kCapTransferCount, -1);
    a = Acquire(c);
    EXPECT_FALSE(a.end.has_value());
    EXPECT_EQ(a.pendingAfterEach, std::vector<int>{0});
    EXPECT_EQ(c.OptionValue("source"), "Automatic Document Feeder");  // the choice stays
}

TEST(Feeder, AnEmptyFeederIsAnErrorWhenTheGlassIsNotToBeUsed) {
    struct Off {
        Off() { saneopt::SetQuirkEnabled("empty-feeder-uses-flatbed", false); }
        ~Off() { saneopt::SetQuirkEnabled("empty-feeder-uses-flatbed", true); }
    } off;
    ScannerComponent c;
    OpenTestDevice(c);
    SetUpFlatbedPage(c, kPixelGray, 10);
    Put(c, kCapFeederEnabled, 1);
    Put(c, kCapTransferCount, 10);
    ASSERT_EQ(Acquire(c).images.size(), 10u);
    Put(c, kCapTransferCount, -1);
    const Acquisition a = Acquire(c);
    ASSERT_TRUE(a.end.has_value());
    ASSERT_TRUE(a.end->error.has_value());
    EXPECT_EQ(a.end->error->status(), 7);  // SANE_STATUS_NO_DOCS
    EXPECT_EQ(a.end->error->ErrorText(),
              "The document feeder is empty. Put the pages in the feeder, or switch the feeder "
              "off to scan from the glass");
    EXPECT_TRUE(a.images.empty());
    EXPECT_EQ(c.PendingTransfers(), 0);
}

TEST(TraceLog, SaneCallsGoToTheProgramLogWhenOn) {
    LogCapture log;
    ScannerComponent c;
    c.TraceLog(1);
    OpenTestDevice(c);
    SetUpFlatbedPage(c, kPixelGray, 10);
    ASSERT_EQ(Acquire(c).images.size(), 1u);
    c.CloseSession();
    const std::vector<std::string> lines = log.allLines();
    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("SANE: sane_open(test:0) = Success"));
    EXPECT_TRUE(has("SANE: sane_control_option(resolution = 10) = Success"));
    EXPECT_TRUE(has("SANE: sane_start = Success"));
    EXPECT_TRUE(has("SANE: sane_read: 100 lines of 50 pixels, depth 8"));
    EXPECT_TRUE(has("SANE: sane_close"));
    EXPECT_TRUE(log.lines().empty());

    LogCapture quiet;
    ScannerComponent off;
    OpenTestDevice(off);
    off.CloseSession();
    EXPECT_TRUE(quiet.allLines().empty());
}

TEST(Feeder, CancelAtAnyMomentEndsTheRunCleanly) {
    ScannerComponent c;
    OpenTestDevice(c);
    SetUpFlatbedPage(c, kPixelGray, 10);
    Put(c, kCapFeederEnabled, 1);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        int images = 0;
        bool over = false;
        c.SetEventCallback(kEventImageTransferred, [&](void*, int, int) {
            ++images;
            if (c.PendingTransfers() == 0) over = true;
        });
        c.SetAcquireEndCallback([&](const AcquireEnd& end) {
            EXPECT_FALSE(end.error.has_value());
            over = true;
        });
        c.StartAcquire();
        // Cancel after a different number of events each round, from none to all of them.
        for (int i = 0; i < round % 7 && !over; ++i) c.WaitForEvents(50);
        c.CancelAcquire();
        for (int i = 0; i < 300 && !over; ++i) c.WaitForEvents(100);
        ASSERT_TRUE(over);
        EXPECT_LE(images, 10);
        EXPECT_EQ(c.PendingTransfers(), 0);
        c.ProcessEvents();
    }
    Put(c, kCapFeederEnabled, 0);
    EXPECT_EQ(Acquire(c).images.size(), 1u);  // the device still works
}
