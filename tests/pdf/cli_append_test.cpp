// vellumo-cli pdf with PDFs among its inputs: appending to a PDF, and a document of image pages
// brought in and written out again with every image stream byte for byte.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "pdf_test_util.h"
#include "support/test_support.h"

using namespace pdftest;
using testsupport::shellQuote;

namespace {

std::string RunCli(const std::string& args, int* status) {
    std::string out;
    *status = Sh(shellQuote(VELLUMO_CLI_PATH) + " " + args, &out);
    return out;
}

// Per page: filters and digest of each image stream as stored, read by qpdf.
std::vector<std::string> ImageStreams(const std::string& pdf) {
    std::string out;
    EXPECT_EQ(Sh("python3 " + shellQuote(testsupport::sourceDir() + "/tests/pdf/image_streams.py") +
                     " " + shellQuote(pdf),
                 &out),
              0)
        << out;
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t nl; (nl = out.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(out.substr(start, nl - start));
    return lines;
}

// The digests alone, in page order.
std::vector<std::string> Digests(const std::vector<std::string>& lines) {
    std::vector<std::string> digests;
    for (const std::string& line : lines) digests.push_back(line.substr(line.rfind(' ') + 1));
    return digests;
}

long long SizeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

TEST(CliAppend, AppendsScansToAPdfKeepingItsImagesByteForByte) {
    testsupport::IsolatedHome home;
    const std::string d = home.path();
    MakeColourImage(d + "/photo.jpg", 300, 400, 150);
    MakeBilevelTiff(d + "/fax.tif", 400, 500, 200, "g4");
    ASSERT_EQ(Sh("img2pdf -o " + shellQuote(d + "/old.pdf") + " " + shellQuote(d + "/photo.jpg") +
                 " " + shellQuote(d + "/fax.tif")),
              0);
    // A two-page scan to append.
    MakeGreyPng(d + "/g.png", 200, 300, 100);
    MakeBilevelTiff(d + "/b.tif", 300, 300, 300, "lzw");
    ASSERT_EQ(Sh("tiffcp " + shellQuote(d + "/b.tif") + " " + shellQuote(d + "/fax.tif") + " " +
                 shellQuote(d + "/new-scan.tif")),
              0);

    int status = 0;
    const std::string out =
        RunCli("pdf -o " + shellQuote(d + "/all.pdf") + " " + shellQuote(d + "/old.pdf") + " " +
                   shellQuote(d + "/new-scan.tif"),
               &status);
    ASSERT_EQ(status, 0) << out;
    std::string report;
    EXPECT_TRUE(QpdfClean(d + "/all.pdf", &report)) << report;
    const auto before = ImageStreams(d + "/old.pdf");
    const auto after = ImageStreams(d + "/all.pdf");
    ASSERT_EQ(before.size(), 2u);
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after[0], before[0]);  // page, filter and data of the old pages unchanged
    EXPECT_EQ(after[1], before[1]);
    EXPECT_EQ(after[0].substr(0, 12), "1 DCTDecode ");
    EXPECT_EQ(after[1].substr(0, 17), "2 CCITTFaxDecode ");
    // The old pages keep their size; the new ones have theirs from their resolution.
    const auto oldSizes = PageSizes(d + "/old.pdf");
    const auto sizes = PageSizes(d + "/all.pdf");
    ASSERT_EQ(sizes.size(), 4u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(sizes[i].width, oldSizes[i].width, 0.02);
        EXPECT_NEAR(sizes[i].height, oldSizes[i].height, 0.02);
    }
    EXPECT_NEAR(sizes[2].width, 300 * 72.0 / 300, 0.02);
    EXPECT_NEAR(sizes[3].width, 400 * 72.0 / 200, 0.02);
    // An independent reader draws the appended fax page as the fax file.
    EXPECT_EQ(DifferentPixels(ExtractImage(d + "/all.pdf", 4, d + "/p4"),
                              ExtractImage(d + "/old.pdf", 2, d + "/o2")),
              0);

    // Writing over one of the inputs works too: the old file is replaced once the new is whole.
    const std::string again =
        RunCli("pdf -o " + shellQuote(d + "/old.pdf") + " " + shellQuote(d + "/old.pdf") + " " +
                   shellQuote(d + "/g.png"),
               &status);
    ASSERT_EQ(status, 0) << again;
    const auto appended = ImageStreams(d + "/old.pdf");
    ASSERT_EQ(appended.size(), 3u);
    EXPECT_EQ(appended[0], before[0]);
    EXPECT_EQ(appended[1], before[1]);
}

TEST(CliAppend, TwentyImagePagesRoundTripByteIdenticalWithinOnePercent) {
    testsupport::IsolatedHome home;
    const std::string d = home.path();
    std::string inputs;
    for (int i = 0; i < 20; ++i) {
        const std::string name = d + "/p" + std::to_string(i);
        // Scanned-looking pages of three kinds: JPEG photos, G4 faxes, Flate grey pages.
        if (i % 3 == 0) {
            MakeColourImage(name + ".jpg", 600 + i, 800, 150);
            inputs += " " + shellQuote(name + ".jpg");
        } else if (i % 3 == 1) {
            MakeBilevelTiff(name + ".tif", 1200, 1600 + i, 200, "g4");
            inputs += " " + shellQuote(name + ".tif");
        } else {
            MakeGreyPng(name + ".png", 500, 700 + i, 100);
            inputs += " " + shellQuote(name + ".png");
        }
    }
    ASSERT_EQ(Sh("img2pdf -o " + shellQuote(d + "/twenty.pdf") + inputs), 0);
    int status = 0;
    const std::string out = RunCli(
        "pdf -o " + shellQuote(d + "/again.pdf") + " " + shellQuote(d + "/twenty.pdf"), &status);
    ASSERT_EQ(status, 0) << out;
    const auto original = ImageStreams(d + "/twenty.pdf");
    const auto written = ImageStreams(d + "/again.pdf");
    ASSERT_EQ(original.size(), 20u);
    EXPECT_EQ(written, original);
    const double ratio = static_cast<double>(SizeOf(d + "/again.pdf")) /
                         static_cast<double>(SizeOf(d + "/twenty.pdf"));
    EXPECT_NEAR(ratio, 1.0, 0.01) << SizeOf(d + "/again.pdf") << " vs "
                                  << SizeOf(d + "/twenty.pdf");
    std::string report;
    EXPECT_TRUE(QpdfClean(d + "/again.pdf", &report)) << report;
    // Even when compressing, image pages of a PDF keep their data.
    const std::string compressed = RunCli(
        "pdf --compress 50 -o " + shellQuote(d + "/c.pdf") + " " + shellQuote(d + "/twenty.pdf"),
        &status);
    ASSERT_EQ(status, 0) << compressed;
    EXPECT_EQ(Digests(ImageStreams(d + "/c.pdf")), Digests(original));
}

TEST(CliAppend, EncryptedAndDamagedInputsAreExplained) {
    testsupport::IsolatedHome home;
    const std::string d = home.path();
    MakeGreyPng(d + "/g.png", 100, 100, 100);
    ASSERT_EQ(Sh("img2pdf -o " + shellQuote(d + "/p.pdf") + " " + shellQuote(d + "/g.png")), 0);
    ASSERT_EQ(Sh("qpdf --encrypt pw owner 256 -- " + shellQuote(d + "/p.pdf") + " " +
                 shellQuote(d + "/e.pdf")),
              0);
    int status = 0;
    std::string out =
        RunCli("pdf -o " + shellQuote(d + "/o.pdf") + " " + shellQuote(d + "/e.pdf"), &status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("password"), std::string::npos) << out;
    EXPECT_FALSE(testsupport::fileExists(d + "/o.pdf"));
    out =
        RunCli("pdf --password pw -o " + shellQuote(d + "/o.pdf") + " " + shellQuote(d + "/e.pdf"),
               &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(PageSizes(d + "/o.pdf").size(), 1u);

    testsupport::writeFile(d + "/bad.pdf", "%PDF-1.7\nnothing else\n");
    out = RunCli("pdf -o " + shellQuote(d + "/x.pdf") + " " + shellQuote(d + "/g.png") + " " +
                     shellQuote(d + "/bad.pdf"),
                 &status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find(d + "/bad.pdf: "), std::string::npos) << out;
    EXPECT_FALSE(testsupport::fileExists(d + "/x.pdf"));
}

}  // namespace
