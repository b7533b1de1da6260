#include <gtest/gtest.h>

#include "tests/imaging/codec_fixtures.h"

using fixtures::Image;
using testsupport::TempDir;

namespace {

TEST(FormatDetection, EveryFormatIsFoundByItsContent) {
    TempDir dir;
    Image colour;
    fixtures::MakePattern(colour, 24, 21, 9);
    struct Case {
        const char* name;
        ImageFormat format;
        int (*save)(const char*, const ImageBuffer&);
    };
    const Case cases[] = {
        {"a.tif", ImageFormat::Tiff,
         [](const char* f, const ImageBuffer& i) { return SaveTiff(f, i, 1); }},
        {"a.bmp", ImageFormat::Bmp,
         [](const char* f, const ImageBuffer& i) { return SaveBmp(f, i, 0); }},
        {"a.jpg", ImageFormat::Jpeg,
         [](const char* f, const ImageBuffer& i) { return SaveJpeg(f, i, 75); }},
        {"a.pcx", ImageFormat::Pcx, SavePcx},
        {"a.gif", ImageFormat::Gif, SaveGif},
        {"a.png", ImageFormat::Png,
         [](const char* f, const ImageBuffer& i) { return SavePng(f, i, 0); }},
        {"a.tga", ImageFormat::Tga,
         [](const char* f, const ImageBuffer& i) { return SaveTga(f, i, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The names carry no extension, so only the content can tell.
        const std::string named = c.name;
        const std::string plain = dir.file(named.substr(0, named.size() - 4));
        ASSERT_EQ(c.save(plain.c_str(), colour), kImgOk);
        ImageFileInfo info;
        EXPECT_EQ(DetectImageFormat(plain.c_str(), &info), c.format);
        EXPECT_EQ(info.width, 21);
        EXPECT_EQ(info.height, 9);
        Image loaded;
        ASSERT_EQ(fixtures::Load(plain, loaded), kImgOk);
        EXPECT_EQ(ImageWidth(loaded.buffer), 21);
    }
}

TEST(FormatDetection, TiffNamedJpgIsReadAsTiff) {
    TempDir dir;
    Image grey;
    fixtures::MakePattern(grey, 8, 16, 16);
    const std::string file = dir.file("scan.jpg");
    ASSERT_EQ(SaveTiff(file.c_str(), grey, 0), kImgOk);
    EXPECT_EQ(DetectImageFormat(file.c_str()), ImageFormat::Tiff);
    Image loaded;
    ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
    EXPECT_TRUE(fixtures::SamePicture(grey, loaded));
}

TEST(FormatDetection, TextAndEmptyFilesAreNoImage) {
    TempDir dir;
    testsupport::writeFile(dir.file("notes.txt"), "Dear scanner,\nplease work.\n");
    testsupport::writeFile(dir.file("empty.png"), "");
    for (const char* name : {"notes.txt", "empty.png", "missing.tif"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(DetectImageFormat(dir.file(name).c_str()), ImageFormat::None);
        Image image;
        EXPECT_LT(fixtures::Load(dir.file(name), image), 0);
        EXPECT_EQ(image->header, nullptr);
    }
}

TEST(FormatDetection, EarlierFormatWinsWhenTwoWouldAccept) {
    // A valid BMP whose bytes after the header also make a plausible TGA header: the BMP
    // decoder is asked first and decides.
    TempDir dir;
    Image image;
    fixtures::MakePattern(image, 24, 8, 8);
    const std::string file = dir.file("both");
    ASSERT_EQ(SaveBmp(file.c_str(), image, 0), kImgOk);
    ImageFileInfo info;
    EXPECT_EQ(DetectImageFormat(file.c_str(), &info), ImageFormat::Bmp);
}

TEST(ReadImageFile, FailedLoadLeavesImageEmpty) {
    TempDir dir;
    Image image;
    fixtures::MakePattern(image, 24, 40, 30);
    const std::string file = dir.file("page.png");
    ASSERT_EQ(SavePng(file.c_str(), image, 0), kImgOk);
    const std::string cut = fixtures::Truncated(dir, file, testsupport::readFile(file).size() / 2);
    Image loaded;
    EXPECT_LT(fixtures::Load(cut, loaded), 0);
    EXPECT_EQ(loaded->header, nullptr);
    EXPECT_EQ(loaded->pixels, nullptr);
}

}  // namespace
