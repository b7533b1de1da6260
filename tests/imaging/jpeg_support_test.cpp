#include "imaging/jpeg_support.h"
#include "imaging/jpeg_upright.h"

#include <gtest/gtest.h>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;
using testsupport::shellQuote;
using testsupport::TempDir;
using vellumo::imaging::JpegDataState;
using vellumo::imaging::Orientation;

namespace {

std::string Q(const std::string& s) {
    return shellQuote(s);
}

// A photo-like JPEG of the given size, written by ImageMagick.
std::string MakeJpeg(const TempDir& dir, const std::string& name, int width, int height,
                     const std::string& extra = "") {
    const std::string file = dir.file(name);
    EXPECT_EQ(testsupport::run("/usr/bin/convert -size " + std::to_string(width) + "x" +
                               std::to_string(height) +
                               " gradient:red-blue -fill black -draw 'rectangle 0,0 15,7' " +
                               extra + " -quality 92 " + Q(file)),
              0);
    return file;
}

TEST(Exif, OrientationAndResolutionFromBothByteOrders) {
    TempDir dir;
    const std::string file = MakeJpeg(dir, "e.jpg", 32, 16);
    for (const char* order : {"II", "MM"}) {
        SCOPED_TRACE(order);
        ASSERT_EQ(testsupport::run(
                      "exiftool -q -overwrite_original -n -ExifByteOrder=" + std::string(order) +
                      " -Orientation=6 -XResolution=72 -YResolution=36 "
                      "-ResolutionUnit=3 " +
                      Q(file)),
                  0);
        vellumo::imaging::JpegMarkers markers;
        ASSERT_TRUE(vellumo::imaging::ReadJpegMarkers(file, markers));
        EXPECT_TRUE(markers.exif);
        EXPECT_EQ(markers.exifInfo.orientation, Orientation::RightTop);
        EXPECT_DOUBLE_EQ(markers.exifInfo.dpiX, 72 * 2.54);  // per centimetre
        EXPECT_DOUBLE_EQ(markers.exifInfo.dpiY, 36 * 2.54);
    }
    // Damaged blocks are no Exif: nothing is read past their end.
    const std::string bad("Exif\0\0MM\0\x2a\xff\xff\xff\xf0", 14);
    vellumo::imaging::ExifInfo info;
    EXPECT_FALSE(vellumo::imaging::ParseExif(reinterpret_cast<const uint8_t*>(bad.data()),
                                             bad.size(), info));
}

TEST(JpegCheck, CleanIrregularAndDamagedData) {
    TempDir dir;
    const std::string file = MakeJpeg(dir, "c.jpg", 64, 48);
    std::string why;
    EXPECT_EQ(vellumo::imaging::CheckJpegData(file, &why), JpegDataState::Clean);
    const std::string data = testsupport::readFile(file);
    // Stray bytes between the header's segments: the picture is whole.
    const size_t dqt = data.find("\xFF\xDB");
    testsupport::writeFile(dir.file("stray.jpg"),
                           data.substr(0, dqt) + std::string(3, '\x11') + data.substr(dqt));
    EXPECT_EQ(vellumo::imaging::CheckJpegData(dir.file("stray.jpg"), &why),
              JpegDataState::Irregular);
    EXPECT_NE(why.find("extraneous"), std::string::npos) << why;
    // Cut short, or a marker in the middle of the coded data.
    testsupport::writeFile(dir.file("cut.jpg"), data.substr(0, data.size() * 2 / 3));
    EXPECT_EQ(vellumo::imaging::CheckJpegData(dir.file("cut.jpg"), &why), JpegDataState::Damaged);
    EXPECT_NE(why.find("Premature end"), std::string::npos) << why;
    const size_t middle = data.find("\xFF\xDA") + (data.size() - data.find("\xFF\xDA")) / 2;
    std::string marked = data;
    marked[middle] = '\xFF';
    marked[middle + 1] = '\xD4';
    testsupport::writeFile(dir.file("marked.jpg"), marked);
    EXPECT_EQ(vellumo::imaging::CheckJpegData(dir.file("marked.jpg"), &why),
              JpegDataState::Damaged);
    // The loader refuses the same files, and says why.
    for (const char* name : {"cut.jpg", "marked.jpg"}) {
        Image image;
        EXPECT_LT(fixtures::Load(dir.file(name), image), 0) << name;
        EXPECT_NE(ImageFileProblem().find("damaged"), std::string::npos) << ImageFileProblem();
    }
    Image whole;
    EXPECT_EQ(fixtures::Load(dir.file("stray.jpg"), whole), kImgOk);
}

TEST(JpegTurn, LosslessAsJpegtranWhereTheSizeAllows) {
    TempDir dir;
    const std::string whole = MakeJpeg(dir, "w.jpg", 64, 48, "-sampling-factor 2x2");
    const std::string partial = MakeJpeg(dir, "p.jpg", 61, 37, "-sampling-factor 2x2");
    vellumo::imaging::JpegMarkers w, p;
    ASSERT_TRUE(vellumo::imaging::ReadJpegMarkers(whole, w));
    ASSERT_TRUE(vellumo::imaging::ReadJpegMarkers(partial, p));
    EXPECT_EQ(w.mcuWidth, 16);
    EXPECT_EQ(w.mcuHeight, 16);
    struct Turn {
        Orientation orientation;
        const char* jpegtran;
    };
    const Turn turns[] = {
        {Orientation::TopRight, "-flip horizontal"}, {Orientation::BottomRight, "-rotate 180"},
        {Orientation::BottomLeft, "-flip vertical"}, {Orientation::LeftTop, "-transpose"},
        {Orientation::RightTop, "-rotate 90"},       {Orientation::RightBottom, "-transverse"},
        {Orientation::LeftBottom, "-rotate 270"}};
    std::FILE* wholeFile = std::fopen(whole.c_str(), "rb");
    ASSERT_TRUE(wholeFile);
    for (const Turn& t : turns) {
        SCOPED_TRACE(t.jpegtran);
        EXPECT_TRUE(vellumo::imaging::JpegTurnIsLossless(w, t.orientation));
        vellumo::imaging::JpegBytes upright;
        ASSERT_EQ(vellumo::imaging::TurnJpegUpright(wholeFile, t.orientation, upright), kImgOk);
        std::string data;
        for (size_t i = 0; i < upright.pieces(); ++i)
            data.append(reinterpret_cast<const char*>(upright.piece(i)), upright.pieceSize(i));
        testsupport::writeFile(dir.file("ours.jpg"), data);
        ASSERT_EQ(testsupport::run("jpegtran -perfect -copy none " + std::string(t.jpegtran) + " " +
                                   Q(whole) + " > " + Q(dir.file("theirs.jpg"))),
                  0);
        // The same coefficients: the same pixels, to the last bit.
        Image ours, theirs;
        ASSERT_EQ(fixtures::Load(dir.file("ours.jpg"), ours), kImgOk);
        ASSERT_EQ(fixtures::Load(dir.file("theirs.jpg"), theirs), kImgOk);
        EXPECT_TRUE(fixtures::SamePicture(ours, theirs));
    }
    // Partial MCUs at the right or bottom edge may not move to the left or top.
    EXPECT_FALSE(vellumo::imaging::JpegTurnIsLossless(p, Orientation::TopRight));
    EXPECT_FALSE(vellumo::imaging::JpegTurnIsLossless(p, Orientation::RightTop));
    EXPECT_TRUE(vellumo::imaging::JpegTurnIsLossless(p, Orientation::LeftTop));
    std::fclose(wholeFile);
    std::FILE* partialFile = std::fopen(partial.c_str(), "rb");
    ASSERT_TRUE(partialFile);
    vellumo::imaging::JpegBytes upright;
    EXPECT_EQ(vellumo::imaging::TurnJpegUpright(partialFile, Orientation::RightTop, upright),
              kImgUnsupportedOption);
    EXPECT_EQ(upright.size(), 0u);
    std::fclose(partialFile);
}

}  // namespace
