// Image files that cannot be read, as the user meets them: what the message's details say, and
// that a FIFO or a device given as a page never holds the program up.
#include "imaging/read_failure.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;
using fixtures::Image;
using testsupport::TempDir;
using vellumo::imaging::DescribeReadFailure;

namespace {

// Runs call on a thread and says whether it returned within five seconds; a call blocked on a
// FIFO is released by opening the FIFO's other end.
template <typename Call>
bool ReturnsPromptly(Call call, const std::string& fifo) {
    auto done = std::async(std::launch::async, call);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return true;
    close(open(fifo.c_str(), O_WRONLY));
    return false;
}

}  // namespace

TEST(UnreadableImages, AFifoIsRefusedAtOnce) {
    TempDir dir;
    const std::string fifo = dir.file("scan.png");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_TRUE(ReturnsPromptly([&] { return DetectImageFormat(fifo.c_str()); }, fifo));
    Image image;
    int status = 0;
    EXPECT_TRUE(
        ReturnsPromptly([&] { return status = ReadImageFile(fifo.c_str(), image.buffer); }, fifo));
    EXPECT_EQ(status, kImgCannotOpen);
    EXPECT_EQ(DescribeReadFailure(fifo, status), fifo + ": it is a FIFO, not a regular file");
}

TEST(UnreadableImages, TheDetailsNameTheFileAndTheRealReason) {
    TempDir dir;
    Image page;
    fixtures::MakePattern(page, 24, 60, 40);
    const std::string png = dir.file("good.png");
    ASSERT_EQ(SavePng(png.c_str(), page, 0), kImgOk);
    const std::string whole = testsupport::readFile(png);
    testsupport::writeFile(dir.file("truncated.png"), whole.substr(0, whole.size() / 2));
    testsupport::writeFile(dir.file("empty.png"), "");
    testsupport::writeFile(dir.file("letter.txt"), "Dear Sir,\n");
    // A BMP header that claims 100000 x 100000 pixels.
    std::string bmp(54, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    const auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(2, 54 + 16);
    put32(10, 54);
    put32(14, 40);
    put32(18, 100000);
    put32(22, 100000);
    bmp[26] = 1;
    bmp[28] = 24;
    testsupport::writeFile(dir.file("huge.bmp"), bmp + std::string(16, '\0'));
    mkdir(dir.file("folder.png").c_str(), 0755);

    const std::pair<std::string, std::string> cases[] = {
        {"missing.png", "the file does not exist"},
        {"empty.png", "the file is empty"},
        {"folder.png", "it is a folder"},
        {"truncated.png", "the file is damaged or truncated"},
        {"huge.bmp", "the image is too large"},
        {"letter.txt",
         "it is not an image of a format Vellumo reads (TIFF, BMP, JPEG, PCX, GIF, PNG, TGA)"},
    };
    for (const auto& [name, reason] : cases) {
        const std::string path = dir.file(name);
        Image image;
        const int status = ReadImageFile(path.c_str(), image.buffer);
        EXPECT_NE(status, kImgOk) << name;
        EXPECT_EQ(DescribeReadFailure(path, status), path + ": " + reason);
    }
}

TEST(SavedImages, OnlyIntoARegularFileAndThroughLinks) {
    TempDir dir;
    Image page;
    fixtures::MakePattern(page, 8, 30, 20);
    const std::string fifo = dir.file("out.tif");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(SaveTiff(fifo.c_str(), page, 1), kImgCannotOpen);
    struct stat st {};
    lstat(fifo.c_str(), &st);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    mkdir(dir.file("real").c_str(), 0755);
    symlink("real/page.png", dir.file("page.png").c_str());
    ASSERT_EQ(SavePng(dir.file("page.png").c_str(), page, 0), kImgOk);
    lstat(dir.file("page.png").c_str(), &st);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(DetectImageFormat(dir.file("real/page.png").c_str()), ImageFormat::Png);
    const std::vector<std::string> names = testsupport::listDir(dir.path());
    EXPECT_EQ(names.size(), 3u) << "no partial file is left";

    // A name of the longest legal length: the partial file beside it has a short name.
    const std::string longName = dir.file(std::string(251, 'p') + ".bmp");
    EXPECT_EQ(SaveBmp(longName.c_str(), page, 0), kImgOk);
}
