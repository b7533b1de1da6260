// The transfer steps without windows: palette correction, the settings' exact-1 rule, the page
// file and the failures that must not leave a page behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "imaging/codecs.h"
#include "imaging/image_buffer.h"
#include "scan/page_transfer.h"
#include "support/test_support.h"

using namespace vellumo::imaging;
using namespace vellumo::scan;

namespace {

// A packed DIB of a bilevel image w x h whose colour table is (first, second) and whose first
// row is all ones.
std::vector<uint8_t> BilevelDib(int w, int h, uint8_t first, uint8_t second) {
    ImageBuffer image{};
    EXPECT_EQ(AllocateImage(image, w, h, 1), 0);
    image.palette[0] = RgbQuad{first, first, first, 0};
    image.palette[1] = RgbQuad{second, second, second, 0};
    std::memset(RowPointer(image, 0), 0xFF, image.rowBytes);
    const auto* block = reinterpret_cast<const uint8_t*>(image.header);
    std::vector<uint8_t> dib(block, block + ImageBlockSize(image));
    FreeImage(image);
    return dib;
}

struct Captured {
    ImageBuffer* seen = nullptr;
    RgbQuad entry0{}, entry1{};
    uint8_t firstByte = 0;
};

TransferHooks Recording(Captured& c, std::vector<std::string>& messages, std::string path) {
    TransferHooks hooks;
    hooks.showMessage = [&messages](const std::string& text) { messages.push_back(text); };
    hooks.keep = [&c](ImageBuffer& image) {
        c.entry0 = image.palette[0];
        c.entry1 = image.palette[1];
        c.firstByte = RowPointer(image, 0)[0];
        return true;
    };
    hooks.makePagePath = [path] { return path; };
    return hooks;
}

TEST(PageTransfer, BilevelPaletteStartingWithWhiteIsSwappedAndBitsStay) {
    ImageBuffer workingImage{};
    testsupport::TempDir dir;
    std::vector<std::string> messages;
    Captured c;
    const auto dib = BilevelDib(16, 4, 255, 0);
    const TransferResult r =
        ProcessScannedImage(&dib, workingImage, 1, {}, Recording(c, messages, dir.file("a.TIF")));
    ASSERT_EQ(r.outcome, TransferOutcome::Kept);
    EXPECT_EQ(c.entry0.rgbRed + c.entry0.rgbGreen + c.entry0.rgbBlue, 0);
    EXPECT_EQ(c.entry1.rgbRed + c.entry1.rgbGreen + c.entry1.rgbBlue, 3 * 255);
    EXPECT_EQ(c.firstByte, 0xFF);
    EXPECT_TRUE(messages.empty());
    // The page file is a real LZW TIFF (compression code 5).
    EXPECT_NE(testsupport::capture("tiffinfo " + dir.file("a.TIF")).find("LZW"), std::string::npos);
    EXPECT_EQ(workingImage.header, nullptr);

    // Already black first: unchanged.
    const auto black = BilevelDib(16, 4, 0, 255);
    ImageBuffer image{};
    ASSERT_EQ(AllocateImage(image, 8, 1, 1), 0);
    image.palette[0] = RgbQuad{0, 0, 0, 0};
    EXPECT_FALSE(CorrectBilevelPalette(image));
    FreeImage(image);
}

TEST(PageTransfer, InvertAndAutoCropOnlyWhenStoredAsExactlyOne) {
    ImageBuffer workingImage{};
    EXPECT_TRUE(MakeTransferSettings(1, 1).invert);
    EXPECT_TRUE(MakeTransferSettings(1, 1).autoCrop);
    EXPECT_FALSE(MakeTransferSettings(2, 2).invert);
    EXPECT_FALSE(MakeTransferSettings(2, -1).autoCrop);

    testsupport::TempDir dir;
    std::vector<std::string> messages;
    Captured c;
    const auto dib = BilevelDib(16, 4, 0, 255);
    ASSERT_EQ(ProcessScannedImage(&dib, workingImage, 1, MakeTransferSettings(1, 0),
                                  Recording(c, messages, dir.file("i.TIF")))
                  .outcome,
              TransferOutcome::Kept);
    EXPECT_EQ(c.firstByte, 0x00);  // inverted
}

TEST(PageTransfer, FailuresLeaveNoPageFileAndFreeTheWorkingImage) {
    ImageBuffer workingImage{};
    testsupport::TempDir dir;
    std::vector<std::string> messages;
    Captured c;
    // A damaged DIB.
    const std::vector<uint8_t> junk(10, 7);
    TransferResult r =
        ProcessScannedImage(&junk, workingImage, 1, {}, Recording(c, messages, dir.file("j.TIF")));
    EXPECT_EQ(r.outcome, TransferOutcome::NotConverted);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error " + std::to_string(r.code) + " while converting image");
    EXPECT_FALSE(testsupport::fileExists(dir.file("j.TIF")));

    // A page file that cannot be written: no file, a message, no page.
    messages.clear();
    const auto dib = BilevelDib(16, 4, 0, 255);
    r = ProcessScannedImage(&dib, workingImage, 3, {},
                            Recording(c, messages, dir.file("missing/dir/p.TIF")));
    EXPECT_EQ(r.outcome, TransferOutcome::SaveFailed);
    EXPECT_TRUE(r.path.empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error " + std::to_string(r.code) + " while saving image");
    EXPECT_NE(r.code, 0);

    // Discarded: nothing written, the working image free again.
    TransferHooks discard = Recording(c, messages, dir.file("d.TIF"));
    discard.keep = [](ImageBuffer&) { return false; };
    EXPECT_EQ(ProcessScannedImage(&dib, workingImage, 1, {}, discard).outcome,
              TransferOutcome::Discarded);
    EXPECT_FALSE(testsupport::fileExists(dir.file("d.TIF")));
    EXPECT_EQ(workingImage.header, nullptr);
}

TEST(PageTransfer, WithoutATemporaryFolderTheMessageSaysSo) {
    testsupport::IsolatedHome home;
    const std::string missing = home.path() + "/no-tmp";
    setenv("TMPDIR", missing.c_str(), 1);
    std::vector<std::string> messages;
    Captured c;
    TransferHooks hooks = Recording(c, messages, "");
    hooks.makePagePath = MakeScanPagePath;
    const auto dib = BilevelDib(16, 4, 0, 255);
    ImageBuffer workingImage{};
    const TransferResult r = ProcessScannedImage(&dib, workingImage, 1, {}, hooks);
    EXPECT_EQ(r.outcome, TransferOutcome::SaveFailed);
    EXPECT_EQ(messages, std::vector<std::string>{"The temporary folder " + missing +
                                                 " cannot be written: No such file or directory"});
}

TEST(PageTransfer, PageFileNamesAreUniqueAndReservedByTheirOwnPrivateFile) {
    testsupport::IsolatedHome home;
    const std::string a = MakeScanPagePath(), b = MakeScanPagePath();
    ASSERT_FALSE(a.empty());
    EXPECT_NE(a, b);
    EXPECT_EQ(a.substr(a.size() - 4), ".TIF");
    EXPECT_EQ(a.rfind(home.tempDir() + "/VW", 0), 0u) << a;
    // The name is held by the page's own empty file, never by a second one that is removed
    // again (which left a moment in which another process could take the name).
    std::vector<std::string> names = testsupport::listDir(home.tempDir());
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = {a.substr(a.rfind('/') + 1), b.substr(b.rfind('/') + 1)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    struct stat st {};
    ASSERT_EQ(stat(a.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
