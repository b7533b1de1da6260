// Hostile image files against the PDF writer: every size a file claims (a strip's byte count, a
// chunk's length, a frame's dimensions) is bounded by the file's real size before anything is
// allocated for it. The program runs with its memory limited, so an allocation the file cannot
// back shows as "not enough memory" instead of the reason.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "pdf_test_util.h"
#include "support/test_support.h"

using testsupport::shellQuote;

namespace {

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer reserves terabytes of address space: limit single allocations instead.
const char* const kLimited =
    "ASAN_OPTIONS=allocator_may_return_null=1:max_allocation_size_mb=1024 ";
#else
const char* const kLimited = "prlimit --as=1500000000 ";
#endif

// Runs vellumo-cli pdf with limited memory; returns its status, standard error in *err.
int PdfUnderLimit(const std::string& dir, const std::string& file, std::string* err) {
    return pdftest::Sh(std::string(kLimited) + shellQuote(VELLUMO_CLI_PATH) + " pdf -o " +
                           shellQuote(dir + "/out.pdf") + " " + shellQuote(file),
                       err);
}

uint32_t Le32(const std::string& d, size_t at) {
    return uint32_t(uint8_t(d[at])) | uint32_t(uint8_t(d[at + 1])) << 8 |
           uint32_t(uint8_t(d[at + 2])) << 16 | uint32_t(uint8_t(d[at + 3])) << 24;
}

// Sets a LONG (or SHORT, made LONG) tag of the first directory of a little-endian TIFF.
void SetTiffTag(std::string& d, uint16_t tag, uint32_t value) {
    const uint32_t ifd = Le32(d, 4);
    const unsigned count = uint8_t(d[ifd]) | uint8_t(d[ifd + 1]) << 8;
    for (unsigned i = 0; i < count; ++i) {
        const size_t e = ifd + 2 + 12 * i;
        if ((uint8_t(d[e]) | uint8_t(d[e + 1]) << 8) != tag) continue;
        d[e + 2] = 4;  // LONG
        d[e + 3] = 0;
        for (int b = 0; b < 4; ++b) d[e + 8 + b] = static_cast<char>(value >> (8 * b));
        return;
    }
    ADD_FAILURE() << "no tag " << tag;
}

std::string Be32(uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 8), static_cast<char>(v)};
}

TEST(EmbedBounds, StripByteCountsBeyondTheFileAreNotAllocated) {
    // A single group 4 strip whose byte count claims 4 GB: the strip copy once allocated and
    // zeroed all of it.
    testsupport::TempDir dir;
    const std::string small = dir.file("small.tif");
    ASSERT_EQ(pdftest::Sh("/usr/bin/convert -size 64x64 xc:white -fill black -draw "
                          "'rectangle 10,10 30,30' -compress group4 " +
                          shellQuote(small)),
              0);
    std::string d = testsupport::readFile(small);
    ASSERT_EQ(d.substr(0, 2), "II");
    ASSERT_LT(d.size(), 400u);
    SetTiffTag(d, 279, 0xFFFFFFF0u);
    testsupport::writeFile(dir.file("huge.tif"), d);
    std::string err;
    EXPECT_EQ(PdfUnderLimit(dir.path(), dir.file("huge.tif"), &err), 1) << err;
    EXPECT_NE(err.find("runs past the end of the file"), std::string::npos) << err;
    EXPECT_EQ(err.find("memory"), std::string::npos) << err;
    EXPECT_FALSE(testsupport::fileExists(dir.file("out.pdf")));
}

TEST(EmbedBounds, ClaimedSizesOfEveryKindAreRefusedWithTheReason) {
    testsupport::TempDir dir;
    struct Case {
        const char* name;
        std::string data;
    };
    std::vector<Case> cases;
    // A PNG whose colour table chunk claims 2 GB.
    {
        std::string png("\x89PNG\r\n\x1a\n", 8);
        png += Be32(13) + "IHDR" + Be32(64) + Be32(64) + std::string("\x08\x03\0\0\0", 5) + Be32(0);
        png += Be32(0x7FFFFFF0u) + "PLTE" + std::string(64, '\x40');
        cases.push_back({"palette.png", png});
    }
    // An uncompressed grey TIFF claiming 40000 x 40000 pixels in a few hundred bytes.
    {
        ASSERT_EQ(pdftest::Sh("/usr/bin/convert -size 8x8 xc:gray50 -depth 8 -compress none " +
                              shellQuote(dir.file("grey.tif"))),
                  0);
        std::string d = testsupport::readFile(dir.file("grey.tif"));
        SetTiffTag(d, 256, 40000);
        SetTiffTag(d, 257, 40000);
        SetTiffTag(d, 278, 40000);
        SetTiffTag(d, 279, 1600000000u);
        cases.push_back({"grey.tif", d});
    }
    // A progressive JPEG whose frame claims 60000 x 60000 pixels.
    {
        ASSERT_EQ(pdftest::Sh("/usr/bin/convert -size 16x16 xc:red -interlace JPEG " +
                              shellQuote(dir.file("p.jpg"))),
                  0);
        std::string d = testsupport::readFile(dir.file("p.jpg"));
        const size_t sof = d.find("\xFF\xC2");
        ASSERT_NE(sof, std::string::npos);
        d[sof + 5] = d[sof + 7] = static_cast<char>(0xEA);  // 60000 = 0xEA60
        d[sof + 6] = d[sof + 8] = 0x60;
        cases.push_back({"frame.jpg", d});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::writeFile(dir.file(c.name), c.data);
        std::string err;
        EXPECT_EQ(PdfUnderLimit(dir.path(), dir.file(c.name), &err), 1) << err;
        EXPECT_NE(err.find(c.name), std::string::npos) << err;
        EXPECT_EQ(err.find("memory"), std::string::npos) << err;
    }
}

}  // namespace
