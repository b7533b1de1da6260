#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;
using testsupport::TempDir;

namespace {

std::string Expected(int w, int h, int rowLength, bool grey, const std::string& hex) {
    char head[1024];
    std::snprintf(
        head, sizeof head,
        "%%!PS-Adobe-2.0 EPSF-2.0\r\n%%%%BoundingBox: 0 0 %d %d\r\n%%%%Creator: Zuriri\r\n"
        "%%%%Title: Image\r\n%%%%EndComments\r\n/picstr %d string def\r\n0 0 translate\r\n"
        "%d %d scale\r\n%d %d 8\r\n[%d 0 0 -%d 0 %d]\r\n"
        "{currentfile picstr readhexstring pop}\r\n",
        w, h, rowLength, w, h, w, h, w, h, h);
    return std::string(head) + (grey ? "image\r\n" : "false 3\r\ncolorimage\r\n") + hex +
           "\r\nshowpage\r\n";
}

TEST(EpsLayout, GreyImageIsByteExact) {
    TempDir dir;
    Image image;
    ASSERT_EQ(AllocateImage(image.buffer, 3, 2, 8), kImgOk);
    const uint8_t top[3] = {0x00, 0x7f, 0xff}, bottom[3] = {0x10, 0xa0, 0x0b};
    std::memcpy(RowPointer(image.buffer, 0), top, 3);
    std::memcpy(RowPointer(image.buffer, 1), bottom, 3);
    const std::string file = dir.file("g.eps");
    ASSERT_EQ(SaveEps(file.c_str(), image), kImgOk);
    EXPECT_EQ(testsupport::readFile(file), Expected(3, 2, 3, true, "007fff10a00b"));
}

TEST(EpsLayout, ColourAndPaletteImagesAreRgbBytes) {
    TempDir dir;
    Image colour;
    ASSERT_EQ(AllocateImage(colour.buffer, 2, 1, 24), kImgOk);
    const uint8_t bgr[6] = {0x01, 0x02, 0x03, 0xaa, 0xbb, 0xcc};
    std::memcpy(RowPointer(colour.buffer, 0), bgr, 6);
    ASSERT_EQ(SaveEps(dir.file("c.eps").c_str(), colour), kImgOk);
    EXPECT_EQ(testsupport::readFile(dir.file("c.eps")), Expected(2, 1, 6, false, "030201ccbbaa"));

    Image palette;
    ASSERT_EQ(AllocateImage(palette.buffer, 2, 1, 8), kImgOk);
    palette->palette[5] = RgbQuad{0x30, 0x20, 0x10, 0};
    palette->imageFlags = 0;
    RowPointer(palette.buffer, 0)[0] = 5;
    RowPointer(palette.buffer, 0)[1] = 255;
    ASSERT_EQ(SaveEps(dir.file("p.eps").c_str(), palette), kImgOk);
    EXPECT_EQ(testsupport::readFile(dir.file("p.eps")), Expected(2, 1, 6, false, "102030ffffff"));
}

TEST(EpsLayout, BilevelBecomesGreyBytesAndOnlyTheAreaIsWritten) {
    TempDir dir;
    Image image;
    ASSERT_EQ(AllocateImage(image.buffer, 10, 3, 1), kImgOk);
    RowPointer(image.buffer, 1)[0] = 0xA0;  // row 1: 1 0 1 0 ...
    SetImageArea(image.buffer, 0, 1, 3, 1);
    ASSERT_EQ(SaveEps(dir.file("b.eps").c_str(), image), kImgOk);
    EXPECT_EQ(testsupport::readFile(dir.file("b.eps")), Expected(4, 1, 4, true, "ff00ff00"));
}

TEST(EpsLayout, GhostscriptRendersThePixels) {
    if (!testsupport::haveTool("gs")) GTEST_SKIP() << "no ghostscript";
    TempDir dir;
    for (int kind : {8, 80, 24}) {
        SCOPED_TRACE(kind);
        Image image;
        fixtures::MakePattern(image, kind, 24, 16);
        const std::string file = dir.file("r.eps");
        ASSERT_EQ(SaveEps(file.c_str(), image), kImgOk);
        // One PostScript unit per pixel at 72 dpi.
        const std::string ppm = testsupport::capture(
            "gs -q -dSAFER -dNOPAUSE -dBATCH -dEPSCrop -r72 -sDEVICE=ppmraw -dGraphicsAlphaBits=1 "
            "-sOutputFile=- " +
            testsupport::shellQuote(file) + " 2>/dev/null");
        Image rendered;
        ASSERT_TRUE(fixtures::ReadNetpbm(ppm, rendered));
        EXPECT_TRUE(fixtures::SamePicture(image, rendered));
    }
}

TEST(EpsFailure, ShortWriteGivesMinusThreeAndKeepsTheOldFile) {
    TempDir dir;
    const std::string file = dir.file("big.eps");
    testsupport::writeFile(file, "an older picture");
    Image image;
    fixtures::MakePattern(image, 24, 300, 200);  // about 360 KB of text
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Writes past 16 KB fail with EFBIG, as on a full disk.
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16384, 16384};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(-SaveEps(file.c_str(), image));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(testsupport::readFile(file), "an older picture");
    EXPECT_EQ(testsupport::listDir(dir.path()).size(), 1u);
}

TEST(EpsFailure, MissingFolderCannotBeCreated) {
    Image image;
    fixtures::MakePattern(image, 8, 4, 4);
    EXPECT_EQ(SaveEps("/nonexistent-folder/x.eps", image), kImgCannotOpen);
    Image empty;
    EXPECT_EQ(SaveEps("/tmp/never.eps", empty), kImgEmpty);
}

}  // namespace
