#include <gtest/gtest.h>

#include <functional>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

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
    testsupport::run("mkdir " + testsupport::shellQuote(dir.file("folder.tif")));
    for (const char* name : {"notes.txt", "empty.png", "missing.tif", "folder.tif"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(DetectImageFormat(dir.file(name).c_str()), ImageFormat::None);
        Image image;
        EXPECT_LT(fixtures::Load(dir.file(name), image), 0);
        EXPECT_EQ(image->header, nullptr);
    }
}

TEST(FormatDetection, NamesNeverDecide) {
    TempDir dir;
    Image image;
    fixtures::MakePattern(image, 24, 8, 8);
    ASSERT_EQ(SaveJpeg(dir.file("photo.png").c_str(), image, 75), kImgOk);
    ASSERT_EQ(SavePng(dir.file("page.tif").c_str(), image, 0), kImgOk);
    ASSERT_EQ(SaveTga(dir.file("scan.bmp").c_str(), image, 0), kImgOk);
    EXPECT_EQ(DetectImageFormat(dir.file("photo.png").c_str()), ImageFormat::Jpeg);
    EXPECT_EQ(DetectImageFormat(dir.file("page.tif").c_str()), ImageFormat::Png);
    EXPECT_EQ(DetectImageFormat(dir.file("scan.bmp").c_str()), ImageFormat::Tga);
}

void Put16(std::string& data, size_t at, unsigned v, bool bigEndian = false) {
    data[at + (bigEndian ? 1 : 0)] = static_cast<char>(v & 0xFF);
    data[at + (bigEndian ? 0 : 1)] = static_cast<char>(v >> 8);
}
void Put32(std::string& data, size_t at, uint32_t v, bool bigEndian = false) {
    for (int i = 0; i < 4; ++i)
        data[at + (bigEndian ? 3 - i : i)] = static_cast<char>(v >> (8 * i));
}

// Small valid files whose headers are then changed to claim a page of 60000 x 60000 pixels
// (10 GB at 24 bits, or 3.4 GB at 8): every decoder refuses them at inspection, before any
// allocation, because the file could never hold such a page.
TEST(HostileHeaders, HugeClaimsInTinyFilesAreRefusedAtInspection) {
    TempDir dir;
    Image image;
    fixtures::MakePattern(image, 24, 16, 16);
    Image grey;
    fixtures::MakePattern(grey, 8, 16, 16);
    struct Case {
        const char* name;
        std::function<int(const char*)> save;
        std::function<void(std::string&)> patch;
    };
    const Case cases[] = {
        {"bmp", [&](const char* f) { return SaveBmp(f, image, 0); },
         [](std::string& d) {
             Put32(d, 18, 60000);
             Put32(d, 22, 60000);
         }},
        {"png", [&](const char* f) { return SavePng(f, image, 0); },
         [](std::string& d) {
             Put32(d, 16, 60000, true);
             Put32(d, 20, 60000, true);
             const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(d.data() + 12), 17);
             Put32(d, 29, static_cast<uint32_t>(crc), true);
         }},
        {"jpeg", [&](const char* f) { return SaveJpeg(f, image, 75); },
         [](std::string& d) {
             const size_t sof = d.find("\xFF\xC0");
             Put16(d, sof + 5, 60000, true);
             Put16(d, sof + 7, 60000, true);
         }},
        {"gif", [&](const char* f) { return SaveGif(f, grey); },
         [](std::string& d) {
             Put16(d, 6, 60000);
             Put16(d, 8, 60000);
             // The image descriptor follows the global colour table.
             const size_t desc = 13 + 3 * (size_t{2} << (d[10] & 7));
             ASSERT_EQ(d[desc], ',');
             Put16(d, desc + 5, 60000);
             Put16(d, desc + 7, 60000);
         }},
        {"pcx", [&](const char* f) { return SavePcx(f, image); },
         [](std::string& d) {
             Put16(d, 8, 59999);
             Put16(d, 10, 59999);
         }},
        {"tga", [&](const char* f) { return SaveTga(f, image, 1); },
         [](std::string& d) {
             Put16(d, 12, 60000);
             Put16(d, 14, 60000);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir.file(c.name);
        ASSERT_EQ(c.save(file.c_str()), kImgOk);
        std::string data = testsupport::readFile(file);
        c.patch(data);
        testsupport::writeFile(file, data);
        ImageFileInfo info;
        EXPECT_EQ(DetectImageFormat(file.c_str(), &info), ImageFormat::None);
        Image loaded;
        EXPECT_LT(fixtures::Load(file, loaded), 0);
    }
}

// Every lossless writer stores exactly the working area, at unaligned columns too.
TEST(WorkingArea, EveryLosslessFormatWritesOnlyTheArea) {
    TempDir dir;
    using Save = std::function<int(const char*, const ImageBuffer&)>;
    const std::pair<const char*, Save> savers[] = {
        {"tif", [](const char* f, const ImageBuffer& i) { return SaveTiff(f, i, 1); }},
        {"bmp", [](const char* f, const ImageBuffer& i) { return SaveBmp(f, i, 0); }},
        {"pcx", [](const char* f, const ImageBuffer& i) { return SavePcx(f, i); }},
        {"gif", [](const char* f, const ImageBuffer& i) { return SaveGif(f, i); }},
        {"png", [](const char* f, const ImageBuffer& i) { return SavePng(f, i, 0); }},
        {"tga", [](const char* f, const ImageBuffer& i) { return SaveTga(f, i, 1); }},
    };
    for (int kind : {1, 8, 80, 24}) {
        Image image;
        fixtures::MakePattern(image, kind, 50, 40);
        SetImageArea(image.buffer, 5, 7, 33, 30);  // 29 x 24 from column 5
        for (const auto& [name, save] : savers) {
            if (std::string(name) == "tga" && kind != 24) continue;
            if (std::string(name) == "gif" && kind == 24) continue;  // quantised
            SCOPED_TRACE(std::string(name) + " " + std::to_string(kind));
            const std::string file = dir.file(std::string("area.") + name);
            ASSERT_EQ(save(file.c_str(), image), kImgOk);
            Image loaded;
            ASSERT_EQ(fixtures::Load(file, loaded), kImgOk);
            EXPECT_EQ(ImageWidth(loaded.buffer), 29);
            EXPECT_EQ(ImageHeight(loaded.buffer), 24);
            EXPECT_TRUE(fixtures::SamePicture(image, loaded));
        }
    }
}

// A disk that fills up during a save: every writer reports a short write, leaves no partial
// file and keeps the file that was there.
TEST(ShortWrite, EveryWriterReportsItAndKeepsTheOldFile) {
    TempDir dir;
    Image noise;
    ASSERT_EQ(AllocateImage(noise.buffer, 400, 300, 24), kImgOk);
    uint32_t seed = 1;
    for (uint32_t y = 0; y < 300; ++y)
        for (uint32_t x = 0; x < 1200; ++x) {
            seed = seed * 1103515245u + 12345u;
            RowPointer(noise.buffer, y)[x] = static_cast<uint8_t>(seed >> 16);
        }
    using Save = std::function<int(const char*, const ImageBuffer&)>;
    const std::pair<const char*, Save> savers[] = {
        {"tif", [](const char* f, const ImageBuffer& i) { return SaveTiff(f, i, 1); }},
        {"bmp", [](const char* f, const ImageBuffer& i) { return SaveBmp(f, i, 0); }},
        {"jpg", [](const char* f, const ImageBuffer& i) { return SaveJpeg(f, i, 75); }},
        {"pcx", [](const char* f, const ImageBuffer& i) { return SavePcx(f, i); }},
        {"gif", [](const char* f, const ImageBuffer& i) { return SaveGif(f, i); }},
        {"png", [](const char* f, const ImageBuffer& i) { return SavePng(f, i, 0); }},
        {"eps", [](const char* f, const ImageBuffer& i) { return SaveEps(f, i); }},
        {"tga", [](const char* f, const ImageBuffer& i) { return SaveTga(f, i, 1); }},
    };
    for (const auto& [name, save] : savers) {
        SCOPED_TRACE(name);
        const std::string file = dir.file(std::string("old.") + name);
        testsupport::writeFile(file, "the previous picture");
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Writes past 16 KB fail with EFBIG, as on a full disk.
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{16384, 16384};
            setrlimit(RLIMIT_FSIZE, &limit);
            _exit(-save(file.c_str(), noise));
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), -kImgShortWrite);
        EXPECT_EQ(testsupport::readFile(file), "the previous picture");
        std::remove(file.c_str());
        EXPECT_TRUE(testsupport::listDir(dir.path()).empty());
    }
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
