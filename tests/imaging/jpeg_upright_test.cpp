#include "imaging/jpeg_upright.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include "tests/imaging/codec_fixtures.h"

using namespace vellumo::imaging;

using fixtures::Image;
using testsupport::shellQuote;
using testsupport::TempDir;

namespace {

const Orientation kTurns[] = {
    Orientation::TopRight, Orientation::BottomRight, Orientation::BottomLeft, Orientation::LeftTop,
    Orientation::RightTop, Orientation::RightBottom, Orientation::LeftBottom};

// A photo-like JPEG written by ImageMagick with the given options.
std::string MakeJpeg(const TempDir& dir, const std::string& name, int width, int height,
                     const std::string& options) {
    const std::string file = dir.file(name);
    EXPECT_EQ(testsupport::run("/usr/bin/convert -size " + std::to_string(width) + "x" +
                               std::to_string(height) + " -seed 7 plasma:fractal " + options + " " +
                               shellQuote(file)),
              0);
    return file;
}

// Ours, or an empty string with the status.
std::string OurTurn(const std::string& file, Orientation orientation, int& status) {
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return "";
    JpegBytes out;
    status = TurnJpegUpright(f, orientation, out);
    std::fclose(f);
    std::string data;
    for (size_t i = 0; i < out.pieces(); ++i)
        data.append(reinterpret_cast<const char*>(out.piece(i)), out.pieceSize(i));
    EXPECT_EQ(data.size(), out.size());
    return data;
}

// libjpeg-turbo's own lossless transform (what jpegtran -perfect -copy none writes), or an
// empty string when it refuses.
std::string TheirTurn(const std::string& file, Orientation orientation) {
    const std::string data = testsupport::readFile(file);
    int op = TJXOP_NONE;
    switch (orientation) {
        case Orientation::TopLeft:
            op = TJXOP_NONE;
            break;
        case Orientation::TopRight:
            op = TJXOP_HFLIP;
            break;
        case Orientation::BottomRight:
            op = TJXOP_ROT180;
            break;
        case Orientation::BottomLeft:
            op = TJXOP_VFLIP;
            break;
        case Orientation::LeftTop:
            op = TJXOP_TRANSPOSE;
            break;
        case Orientation::RightTop:
            op = TJXOP_ROT90;
            break;
        case Orientation::RightBottom:
            op = TJXOP_TRANSVERSE;
            break;
        case Orientation::LeftBottom:
            op = TJXOP_ROT270;
            break;
    }
    tjhandle handle = tjInitTransform();
    tjtransform transform{};
    transform.op = op;
    transform.options = TJXOPT_PERFECT | TJXOPT_COPYNONE;
    unsigned char* result = nullptr;
    unsigned long size = 0;
    std::string turned;
    if (tjTransform(handle, reinterpret_cast<const unsigned char*>(data.data()), data.size(), 1,
                    &result, &size, &transform, TJFLAG_STOPONWARNING) == 0)
        turned.assign(reinterpret_cast<const char*>(result), size);
    tjFree(result);
    tjDestroy(handle);
    return turned;
}

TEST(JpegUpright, TheSameFileAsLibjpegTurbosTransformForEverySampling) {
    TempDir dir;
    struct Sample {
        const char* name;
        int width, height;
        const char* options;
    };
    // Whole MCUs everywhere, so every turn is lossless. The large photo fills several of the
    // output's pieces.
    const Sample samples[] = {
        {"420.jpg", 64, 48, "-sampling-factor 2x2 -quality 90"},
        {"422.jpg", 64, 48, "-sampling-factor 2x1 -quality 90"},
        {"440.jpg", 64, 48, "-sampling-factor 1x2 -quality 90"},
        {"444.jpg", 64, 48, "-sampling-factor 1x1 -quality 90"},
        {"grey.jpg", 64, 48, "-colorspace Gray -quality 90"},
        {"progressive.jpg", 64, 48, "-sampling-factor 2x2 -interlace JPEG -quality 90"},
        {"cmyk.jpg", 64, 48, "-colorspace CMYK -sampling-factor 1x1 -quality 90"},
        {"large.jpg", 1024, 768, "-sampling-factor 2x2 +noise Gaussian -quality 98"},
    };
    for (const Sample& s : samples) {
        const std::string file = MakeJpeg(dir, s.name, s.width, s.height, s.options);
        for (Orientation o : kTurns) {
            SCOPED_TRACE(std::string(s.name) + " orientation " +
                         std::to_string(static_cast<int>(o)));
            int status = -1;
            const std::string ours = OurTurn(file, o, status);
            ASSERT_EQ(status, kImgOk);
            const std::string theirs = TheirTurn(file, o);
            ASSERT_FALSE(theirs.empty());
            EXPECT_TRUE(ours == theirs) << ours.size() << " vs " << theirs.size() << " bytes";
            if (std::string(s.name) == "large.jpg") {
                EXPECT_GT(ours.size(), JpegBytes::kPiece);
            }
        }
    }
}

TEST(JpegUpright, PartialMcusOnlyWhereTheyStayAtTheRightOrBottom) {
    TempDir dir;
    // Partial MCUs at the bottom only, and at both edges.
    for (const auto& [width, height] : {std::pair{64, 37}, std::pair{61, 37}}) {
        const std::string file =
            MakeJpeg(dir, "p.jpg", width, height, "-sampling-factor 2x2 -quality 90");
        JpegMarkers markers;
        ASSERT_TRUE(ReadJpegMarkers(file, markers));
        for (Orientation o : kTurns) {
            SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " orientation " +
                         std::to_string(static_cast<int>(o)));
            int status = -1;
            const std::string ours = OurTurn(file, o, status);
            const std::string theirs = TheirTurn(file, o);
            EXPECT_EQ(JpegTurnIsLossless(markers, o), !theirs.empty());
            if (theirs.empty()) {
                EXPECT_EQ(status, kImgUnsupportedOption);
                EXPECT_TRUE(ours.empty());
            } else {
                EXPECT_EQ(status, kImgOk);
                EXPECT_TRUE(ours == theirs);
            }
        }
    }
}

TEST(JpegUpright, EveryOrientationShowsWhatImageMagickShows) {
    TempDir dir;
    const std::string base = MakeJpeg(dir, "base.jpg", 96, 64, "-sampling-factor 2x2 -quality 92");
    for (int tag = 1; tag <= 8; ++tag) {
        SCOPED_TRACE("orientation " + std::to_string(tag));
        const std::string file = dir.file("o.jpg");
        ASSERT_EQ(testsupport::run("cp " + shellQuote(base) + " " + shellQuote(file) +
                                   " && exiftool -q -overwrite_original -n -Orientation=" +
                                   std::to_string(tag) + " " + shellQuote(file)),
                  0);
        JpegMarkers markers;
        ASSERT_TRUE(ReadJpegMarkers(file, markers));
        ASSERT_EQ(markers.exifInfo.orientation, OrientationFromTag(tag));
        int status = -1;
        testsupport::writeFile(dir.file("ours.jpg"),
                               OurTurn(file, markers.exifInfo.orientation, status));
        ASSERT_EQ(status, kImgOk);
        Image ours, shown;
        ASSERT_EQ(fixtures::Load(dir.file("ours.jpg"), ours), kImgOk);
        ASSERT_TRUE(fixtures::ReadNetpbm(
            testsupport::capture("/usr/bin/convert " + shellQuote(file) +
                                 " -auto-orient -depth 8 -type truecolor ppm:- 2>/dev/null"),
            shown));
        // The same coefficients, turned: only the decoders' rounding, which is not the same
        // across rows as down columns, may differ (a few levels; a wrong turn costs 30 dB).
        ASSERT_EQ(AreaWidth(ours), AreaWidth(shown));
        ASSERT_EQ(AreaHeight(ours), AreaHeight(shown));
        EXPECT_GT(fixtures::Psnr(ours, shown), 45) << fixtures::Psnr(ours, shown);
    }
}

TEST(JpegUpright, DamagedOrIrregularDataIsNotTurned) {
    TempDir dir;
    const std::string file = MakeJpeg(dir, "c.jpg", 64, 48, "-sampling-factor 2x2 -quality 90");
    const std::string data = testsupport::readFile(file);
    testsupport::writeFile(dir.file("cut.jpg"), data.substr(0, data.size() * 2 / 3));
    const size_t dqt = data.find("\xFF\xDB");
    testsupport::writeFile(dir.file("stray.jpg"),
                           data.substr(0, dqt) + std::string(3, '\x11') + data.substr(dqt));
    // A frame far larger than the file could code.
    std::string huge = data;
    const size_t sof = huge.find("\xFF\xC0");
    huge[sof + 5] = huge[sof + 7] = '\x7F';
    testsupport::writeFile(dir.file("huge.jpg"), huge);
    for (const char* name : {"cut.jpg", "stray.jpg", "huge.jpg"}) {
        SCOPED_TRACE(name);
        int status = -1;
        EXPECT_TRUE(OurTurn(dir.file(name), Orientation::RightTop, status).empty());
        EXPECT_EQ(status, kImgCorruptFile);
    }
}

}  // namespace
