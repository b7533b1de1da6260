#include "imaging/transform.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "imaging/image_buffer.h"
#include "imaging/imaging.h"
#include "tests/support/test_support.h"

using namespace vellumo::imaging;

namespace {

using testsupport::TempDir;

// Raw stored value at area column x, row y (bytes first-lowest), read without the library.
uint32_t At(const ImageBuffer& image, uint32_t x, uint32_t y) {
    const uint8_t* row = RowPointer(image, image.areaTop + y);
    const int bits = BitsPerPixel(image);
    if (bits == 1) {
        const uint32_t bit = image.areaLeft + x;
        return (row[bit / 8] >> (7 - bit % 8)) & 1;
    }
    uint32_t value = 0;
    std::memcpy(&value, row + size_t{image.areaLeft + x} * (bits / 8), bits / 8);
    return value;
}

void Set(ImageBuffer& image, uint32_t x, uint32_t y, uint32_t value) {
    uint8_t* row = RowPointer(image, image.areaTop + y);
    const int bits = BitsPerPixel(image);
    if (bits == 1) {
        const uint32_t bit = image.areaLeft + x;
        if (value & 1)
            row[bit / 8] |= 0x80 >> (bit % 8);
        else
            row[bit / 8] &= ~(0x80 >> (bit % 8));
        return;
    }
    std::memcpy(row + size_t{image.areaLeft + x} * (bits / 8), &value, bits / 8);
}

uint32_t Mask(int bits) {
    return bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
}

// An image of the given size whose every pixel (also outside `area`) holds a pseudo-random
// value; the area is then set to the given rectangle.
struct Picture {
    ImageBuffer image{};
    Picture(int width, int height, int bits, uint32_t seed = 1) {
        EXPECT_EQ(AllocateImage(image, width, height, bits), kImgOk);
        uint32_t state = seed * 2654435761u + 12345;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                state = state * 1103515245u + 12345;
                Set(image, x, y, (state >> 7) & Mask(bits));
            }
    }
    Picture(const Picture&) = delete;
    ~Picture() { FreeImage(image); }
    Picture& area(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom) {
        SetImageArea(image, left, top, right, bottom);
        return *this;
    }
};

// Every stored pixel of the whole image, the area aside.
std::vector<uint32_t> AllPixels(const ImageBuffer& image) {
    ImageBuffer whole = image;
    SetImageArea(whole, 0, 0, ImageWidth(image) - 1, ImageHeight(image) - 1);
    std::vector<uint32_t> values;
    for (int y = 0; y < ImageHeight(image); ++y)
        for (int x = 0; x < ImageWidth(image); ++x) values.push_back(At(whole, x, y));
    return values;
}

// The pixels outside the area.
std::vector<uint32_t> Outside(const ImageBuffer& image) {
    ImageBuffer whole = image;
    SetImageArea(whole, 0, 0, ImageWidth(image) - 1, ImageHeight(image) - 1);
    std::vector<uint32_t> values;
    for (uint32_t y = 0; y < static_cast<uint32_t>(ImageHeight(image)); ++y)
        for (uint32_t x = 0; x < static_cast<uint32_t>(ImageWidth(image)); ++x)
            if (x < image.areaLeft || x > image.areaRight || y < image.areaTop ||
                y > image.areaBottom)
                values.push_back(At(whole, x, y));
    return values;
}

const int kDepths[] = {1, 8, 16, 24, 32};

// Source areas that start off byte boundaries and have odd sizes, inside larger images.
struct Shape {
    int width, height;
    uint32_t left, top, right, bottom;
};
const Shape kShapes[] = {
    {40, 30, 3, 5, 39, 25},  // 37 x 21 starting at bit 3
    {64, 64, 0, 0, 63, 63},  // whole, square, byte aligned
    {150, 70, 9, 1, 138, 67},
    {300, 45, 0, 3, 299, 44},  // wide enough for several vector groups, the last overlapping
    {1, 1, 0, 0, 0, 0},
};

// Runs a test body with the processor-specific variants of the hot loops, then without.
template <class Body>
void WithAndWithoutCpuFeatures(Body body) {
    for (int level : {2, 1, 0}) {
        SCOPED_TRACE(level == 2   ? "every processor feature"
                     : level == 1 ? "without AVX-512"
                                  : "baseline code");
        SetCpuFeaturesEnabled(level > 0);
        SetCpuFeatureEnabled(CpuFeature::Avx512, level == 2);
        body();
    }
    SetCpuFeaturesEnabled(true);
}

TEST(QuarterTurn, BothDirectionsMatchTheirDefinitionAtEveryDepth) {
    WithAndWithoutCpuFeatures([] {
        for (int bits : kDepths)
            for (const Shape& s : kShapes) {
                Picture src(s.width, s.height, bits, 3);
                src.area(s.left, s.top, s.right, s.bottom);
                const uint32_t w = AreaWidth(src.image), h = AreaHeight(src.image);
                for (int direction : {0, 1})
                    for (uint32_t left : {5u, 8u}) {
                        // The target area sits off the origin too, with untouched pixels around it.
                        Picture dst(h + left + 3, w + 2, bits, 9);
                        dst.area(left, 1, h + left - 1, w);
                        const auto before = Outside(dst.image);
                        ASSERT_EQ(RotateQuarterTurn(direction, src.image, dst.image), kImgOk);
                        for (uint32_t y = 0; y < w; ++y)
                            for (uint32_t x = 0; x < h; ++x) {
                                // Right: the top edge ends up on the right. Left: on the left.
                                const uint32_t expected = direction == 0
                                                              ? At(src.image, y, h - 1 - x)
                                                              : At(src.image, w - 1 - y, x);
                                ASSERT_EQ(At(dst.image, x, y), expected)
                                    << bits << " bits, " << w << "x" << h << ", direction "
                                    << direction << " at " << x << "," << y;
                            }
                        EXPECT_EQ(Outside(dst.image), before);
                    }
            }
    });
}

TEST(QuarterTurn, TopEdgeOfAPortraitPageEndsOnTheRightAfterARightTurn) {
    ImageBuffer page{}, turned{};
    ASSERT_EQ(AllocateImage(page, 30, 50, 8), kImgOk);
    for (uint32_t x = 0; x < 30; ++x) Set(page, x, 0, 200);  // the top edge
    ASSERT_EQ(AllocateImage(turned, 50, 30, 8), kImgOk);
    ASSERT_EQ(RotateQuarterTurn(0, page, turned), kImgOk);
    for (uint32_t y = 0; y < 30; ++y) {
        EXPECT_EQ(At(turned, 49, y), 200u);
        EXPECT_EQ(At(turned, 0, y), 0u);
    }
    FreeImage(page);
    FreeImage(turned);
}

TEST(QuarterTurn, RightThenLeftGivesTheFirstPictureBack) {
    for (int bits : kDepths) {
        Picture src(45, 19, bits, 5);
        ImageBuffer once{}, twice{};
        ASSERT_EQ(AllocateImage(once, 19, 45, bits), kImgOk);
        ASSERT_EQ(AllocateImage(twice, 45, 19, bits), kImgOk);
        ASSERT_EQ(RotateQuarterTurn(0, src.image, once), kImgOk);
        ASSERT_EQ(RotateQuarterTurn(1, once, twice), kImgOk);
        EXPECT_EQ(AllPixels(twice), AllPixels(src.image)) << bits << " bits";
        EXPECT_EQ(BitsPerPixel(twice), bits);
        FreeImage(once);
        FreeImage(twice);
    }
}

TEST(QuarterTurn, SquareAreaTurnsInPlace) {
    for (int bits : kDepths) {
        Picture image(20, 20, bits, 4);
        image.area(2, 3, 14, 15);
        Picture copy(20, 20, bits, 4);
        copy.area(2, 3, 14, 15);
        const auto outside = Outside(image.image);
        ASSERT_EQ(RotateImage(-90, image.image, image.image), kImgOk);
        for (uint32_t y = 0; y < 13; ++y)
            for (uint32_t x = 0; x < 13; ++x)
                ASSERT_EQ(At(image.image, x, y), At(copy.image, y, 12 - x)) << bits;
        EXPECT_EQ(Outside(image.image), outside);
    }
}

TEST(QuarterTurn, FreshTargetTakesTheTurnedResolutionAndColourTable) {
    Picture src(6, 4, 8, 40);
    SetImageDpi(src.image, 300, 200);
    src.image.palette[3] = RgbQuad{1, 2, 3, 0};
    ImageBuffer turned{};
    ASSERT_EQ(AllocateImage(turned, 4, 6, 8), kImgOk);
    ASSERT_EQ(RotateQuarterTurn(1, src.image, turned), kImgOk);
    EXPECT_EQ(ImageDpiX(turned), 200);
    EXPECT_EQ(ImageDpiY(turned), 300);
    EXPECT_EQ(turned.palette[3].rgbRed, 3);
    FreeImage(turned);
}

TEST(QuarterTurn, RefusesWrongTargets) {
    Picture src(10, 6, 8);
    Picture same(10, 6, 8);
    EXPECT_EQ(RotateImage(90, src.image, same.image), kImgBadArgument);
    Picture deeper(6, 10, 24);
    EXPECT_EQ(RotateImage(90, src.image, deeper.image), kImgBadDepth);
    ImageBuffer empty{};
    EXPECT_EQ(RotateImage(90, src.image, empty), kImgEmpty);
    src.area(5, 0, 4, 5);  // left beyond right
    Picture turned(6, 10, 8);
    EXPECT_EQ(RotateImage(90, src.image, turned.image), kImgEmpty);
}

TEST(AreaChecks, AreasOutsideTheImageAreRefusedBeforeAnyPixelIsTouched) {
    Picture good(8, 8, 8, 30);
    for (const Shape& bad : {Shape{8, 8, 0, 0, 8, 7}, Shape{8, 8, 0, 0, 7, 8},
                             Shape{8, 8, 5, 0, 4, 7}, Shape{8, 8, 0, 6, 7, 5}}) {
        Picture image(bad.width, bad.height, 8, 31);
        image.area(bad.left, bad.top, bad.right, bad.bottom);
        const auto before = AllPixels(image.image);
        EXPECT_EQ(ResizeImage(good.image, image.image), kImgEmpty);
        EXPECT_EQ(ResizeImage(image.image, good.image), kImgEmpty);
        EXPECT_EQ(RotateImage(180, image.image, image.image), kImgEmpty);
        EXPECT_EQ(RotateImage(33, good.image, image.image), kImgEmpty);
        EXPECT_EQ(InvertImage(image.image, image.image), kImgEmpty);
        EXPECT_EQ(MirrorImage(good.image, image.image), kImgEmpty);
        EXPECT_EQ(CopyImageArea(good.image, image.image), kImgEmpty);
        EXPECT_EQ(CopyImageArea(image.image, good.image), kImgEmpty);
        EXPECT_EQ(AllPixels(image.image), before);
    }
}

TEST(RotateAngles, AreTakenModulo360AndNegativeTurnsClockwise) {
    Picture src(7, 4, 8, 8);
    auto turn = [&](double angle, int width, int height) {
        ImageBuffer out{};
        EXPECT_EQ(AllocateImage(out, width, height, 8), kImgOk);
        EXPECT_EQ(RotateImage(angle, src.image, out), kImgOk) << angle;
        auto pixels = AllPixels(out);
        FreeImage(out);
        return pixels;
    };
    EXPECT_EQ(turn(450, 4, 7), turn(90, 4, 7));
    EXPECT_EQ(turn(-90, 4, 7), turn(270, 4, 7));
    EXPECT_EQ(turn(-270, 4, 7), turn(90, 4, 7));
    EXPECT_EQ(turn(-450, 4, 7), turn(270, 4, 7));
    EXPECT_EQ(turn(360, 7, 4), AllPixels(src.image));
    EXPECT_EQ(turn(-180, 7, 4), turn(180, 7, 4));
    EXPECT_NE(turn(90, 4, 7), turn(270, 4, 7));
    ImageBuffer out{};
    ASSERT_EQ(AllocateImage(out, 7, 4, 8), kImgOk);
    EXPECT_EQ(RotateImage(std::numeric_limits<double>::quiet_NaN(), src.image, out),
              kImgBadArgument);
    FreeImage(out);
}

TEST(HalfTurn, InPlaceTurnsThePictureUpsideDownAndLeavesTheRestAlone) {
    for (int bits : kDepths)
        for (const Shape& s : kShapes) {
            Picture image(s.width, s.height, bits, 6);
            image.area(s.left, s.top, s.right, s.bottom);
            Picture copy(s.width, s.height, bits, 6);
            copy.area(s.left, s.top, s.right, s.bottom);
            const auto outside = Outside(image.image);
            ASSERT_EQ(RotateImage(180, image.image, image.image), kImgOk);
            const uint32_t w = AreaWidth(copy.image), h = AreaHeight(copy.image);
            for (uint32_t y = 0; y < h; ++y)
                for (uint32_t x = 0; x < w; ++x)
                    ASSERT_EQ(At(image.image, x, y), At(copy.image, w - 1 - x, h - 1 - y))
                        << bits << " bits at " << x << "," << y;
            EXPECT_EQ(Outside(image.image), outside);
            EXPECT_EQ(BitsPerPixel(image.image), bits);
        }
}

TEST(FreeRotation, NearlyAQuarterTurnSamplesLikeTheQuarterTurn) {
    Picture src(9, 9, 8, 2);
    ImageBuffer exact{}, near{};
    ASSERT_EQ(AllocateImage(exact, 9, 9, 8), kImgOk);
    ASSERT_EQ(AllocateImage(near, 9, 9, 8), kImgOk);
    ASSERT_EQ(RotateImage(90, src.image, exact), kImgOk);
    ASSERT_EQ(RotateImage(90.0001, src.image, near), kImgOk);
    EXPECT_EQ(AllPixels(near), AllPixels(exact));
    FreeImage(exact);
    FreeImage(near);
}

TEST(FreeRotation, CornersOutsideTheTurnedPictureBecomeWhite) {
    ImageBuffer black{}, out{};
    ASSERT_EQ(AllocateImage(black, 21, 21, 24), kImgOk);
    ASSERT_EQ(AllocateImage(out, 21, 21, 24), kImgOk);
    ASSERT_EQ(RotateImage(45, black, out), kImgOk);
    EXPECT_EQ(At(out, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(At(out, 20, 20), 0xFFFFFFu);
    EXPECT_EQ(At(out, 10, 10), 0u);
    FreeImage(black);
    FreeImage(out);
}

TEST(Resize, OneColumnStretchedToFiveRepeatsIt) {
    for (int bits : {1, 8, 24}) {
        Picture src(1, 6, bits, 12);
        Picture dst(9, 6, bits, 13);
        dst.area(3, 0, 7, 5);
        ASSERT_EQ(ResizeImage(src.image, dst.image), kImgOk);
        for (uint32_t y = 0; y < 6; ++y)
            for (uint32_t x = 0; x < 5; ++x) ASSERT_EQ(At(dst.image, x, y), At(src.image, 0, y));
    }
}

TEST(Resize, EachTargetPixelCopiesItsNearestSourcePixel) {
    for (int bits : kDepths) {
        Picture src(50, 40, bits, 14);
        src.area(3, 2, 47, 36);  // 45 x 35
        for (auto [dw, dh] : {std::pair{17, 13}, std::pair{99, 80}, std::pair{45, 35}}) {
            Picture dst(dw + 3, dh, bits, 15);
            dst.area(3, 0, dw + 2, dh - 1);
            const auto outside = Outside(dst.image);
            ASSERT_EQ(ResizeImage(src.image, dst.image), kImgOk);
            for (uint32_t y = 0; y < static_cast<uint32_t>(dh); ++y)
                for (uint32_t x = 0; x < static_cast<uint32_t>(dw); ++x)
                    ASSERT_EQ(At(dst.image, x, y), At(src.image, x * 45 / dw, y * 35 / dh))
                        << bits << " bits to " << dw << "x" << dh;
            EXPECT_EQ(Outside(dst.image), outside);
        }
    }
}

TEST(Resize, LongBilevelRowsSampleEveryBitPosition) {
    WithAndWithoutCpuFeatures([] {
        Picture src(700, 3, 1, 22);
        src.area(5, 0, 684, 2);  // 680 wide, off the byte boundary
        for (uint32_t dw : {680u, 679u, 333u, 64u, 1u}) {
            Picture dst(dw + 1, 3, 1, 23);
            dst.area(1, 0, dw, 2);
            ASSERT_EQ(ResizeImage(src.image, dst.image), kImgOk);
            for (uint32_t y = 0; y < 3; ++y)
                for (uint32_t x = 0; x < dw; ++x)
                    ASSERT_EQ(At(dst.image, x, y), At(src.image, x * 680 / dw, y))
                        << dw << " at " << x;
        }
    });
}

TEST(Mirror, LongRowsAtEveryDepth) {
    WithAndWithoutCpuFeatures([] {
        for (int bits : kDepths)
            for (uint32_t left : {0u, 3u}) {
                Picture image(left + 2483, 2, bits, 24);
                image.area(left, 0, left + 2479, 1);
                Picture copy(left + 2483, 2, bits, 24);
                copy.area(left, 0, left + 2479, 1);
                ASSERT_EQ(MirrorImage(image.image, image.image), kImgOk);
                for (uint32_t y = 0; y < 2; ++y)
                    for (uint32_t x = 0; x < 2480; ++x)
                        ASSERT_EQ(At(image.image, x, y), At(copy.image, 2479 - x, y)) << bits;
            }
    });
}

TEST(Resize, OverlappingAreasOfOneImageReadTheOriginalPixels) {
    for (int bits : {1, 8, 24}) {
        Picture image(40, 40, bits, 16);
        Picture reference(40, 40, bits, 16);
        // Enlarge the top-left corner over a larger, overlapping area of the same image.
        ImageBuffer from = image.image;
        SetImageArea(from, 0, 0, 19, 19);
        ImageBuffer to = image.image;
        SetImageArea(to, 5, 5, 38, 38);
        ASSERT_EQ(ResizeImage(from, to), kImgOk);
        for (uint32_t y = 0; y < 34; ++y)
            for (uint32_t x = 0; x < 34; ++x)
                ASSERT_EQ(At(to, x, y), At(reference.image, x * 20 / 34, y * 20 / 34)) << bits;
    }
}

TEST(Resize, TheResolutionFollowsTheChangeOfSize) {
    // A copy of an area (as a crop makes) keeps the resolution; a half-size copy has half of it,
    // so either covers the same stretch of paper. A target with its own resolution keeps it.
    Picture src(400, 300, 24);
    src.area(10, 20, 209, 169);
    SetImageDpi(src.image, 300, 200);
    const struct {
        int width, height, dpiX, dpiY;
    } cases[] = {{200, 150, 300, 200}, {100, 75, 150, 100}, {400, 300, 600, 400}};
    for (const auto& c : cases) {
        Picture dst(c.width, c.height, 24);
        ASSERT_EQ(ResizeImage(src.image, dst.image), kImgOk);
        EXPECT_EQ(ImageDpiX(dst.image), c.dpiX) << c.width;
        EXPECT_EQ(ImageDpiY(dst.image), c.dpiY) << c.width;
    }
    Picture own(200, 150, 24);
    SetImageDpi(own.image, 72, 72);
    ASSERT_EQ(ResizeImage(src.image, own.image), kImgOk);
    EXPECT_EQ(ImageDpiX(own.image), 72);
}

TEST(Resize, RefusesDifferentDepths) {
    Picture src(4, 4, 8), dst(4, 4, 24);
    EXPECT_EQ(ResizeImage(src.image, dst.image), kImgBadDepth);
}

TEST(Invert, IsANegativeAndTwiceGivesThePictureBack) {
    for (int bits : kDepths)
        for (const Shape& s : kShapes) {
            Picture image(s.width, s.height, bits, 17);
            image.area(s.left, s.top, s.right, s.bottom);
            const auto original = AllPixels(image.image);
            const auto outside = Outside(image.image);
            Picture copy(s.width, s.height, bits, 17);
            copy.area(s.left, s.top, s.right, s.bottom);
            ASSERT_EQ(InvertImage(image.image, image.image), kImgOk);
            for (uint32_t y = 0; y < AreaHeight(copy.image); ++y)
                for (uint32_t x = 0; x < AreaWidth(copy.image); ++x)
                    ASSERT_EQ(At(image.image, x, y), ~At(copy.image, x, y) & Mask(bits)) << bits;
            EXPECT_EQ(Outside(image.image), outside);
            ASSERT_EQ(InvertImage(image.image, image.image), kImgOk);
            EXPECT_EQ(AllPixels(image.image), original) << bits;
        }
}

TEST(Invert, OneBitAreasAtDifferentBitPhases) {
    Picture src(30, 3, 1, 18);
    src.area(5, 0, 25, 2);
    for (uint32_t left : {0u, 3u, 5u, 7u}) {
        Picture dst(40, 3, 1, 19);
        dst.area(left, 0, left + 20, 2);
        const auto outside = Outside(dst.image);
        ASSERT_EQ(InvertImage(src.image, dst.image), kImgOk);
        for (uint32_t y = 0; y < 3; ++y)
            for (uint32_t x = 0; x < 21; ++x)
                ASSERT_EQ(At(dst.image, x, y), 1 - At(src.image, x, y)) << left;
        EXPECT_EQ(Outside(dst.image), outside);
    }
}

TEST(Invert, ColourTableImageGetsTheNegatedTable) {
    Picture image(4, 2, 8, 20);
    for (int i = 0; i < 256; ++i)
        image.image.palette[i] = RgbQuad{static_cast<uint8_t>(i), 10, 250, 0};
    const auto indices = AllPixels(image.image);
    ASSERT_EQ(InvertImage(image.image, image.image), kImgOk);
    EXPECT_EQ(AllPixels(image.image), indices);
    EXPECT_EQ(image.image.palette[7].rgbBlue, 248);
    EXPECT_EQ(image.image.palette[7].rgbGreen, 245);
    EXPECT_EQ(image.image.palette[7].rgbRed, 5);
}

TEST(Mirror, ReversesEveryRowAtEveryWidthAndBitPhase) {
    for (int bits : kDepths)
        for (uint32_t left = 0; left < 9; ++left)
            for (uint32_t width = 1; width <= 19; width += 3) {
                Picture image(left + width + 4, 3, bits, left * 31 + width);
                image.area(left, 1, left + width - 1, 2);
                Picture copy(left + width + 4, 3, bits, left * 31 + width);
                copy.area(left, 1, left + width - 1, 2);
                const auto outside = Outside(image.image);
                ASSERT_EQ(MirrorImage(image.image, image.image), kImgOk);
                for (uint32_t y = 0; y < 2; ++y)
                    for (uint32_t x = 0; x < width; ++x)
                        ASSERT_EQ(At(image.image, x, y), At(copy.image, width - 1 - x, y))
                            << bits << " bits, left " << left << ", width " << width;
                EXPECT_EQ(Outside(image.image), outside);
            }
}

// ---- Against independent tools: netpbm and ImageMagick on PNM files ----

void WritePnm(const std::string& path, const ImageBuffer& image) {
    const int bits = BitsPerPixel(image);
    const uint32_t w = AreaWidth(image), h = AreaHeight(image);
    std::string data = (bits == 1   ? "P4\n"
                        : bits == 8 ? "P5\n"
                                    : "P6\n") +
                       std::to_string(w) + " " + std::to_string(h) + (bits == 1 ? "\n" : "\n255\n");
    for (uint32_t y = 0; y < h; ++y) {
        if (bits == 1) {
            std::string row((w + 7) / 8, '\0');
            for (uint32_t x = 0; x < w; ++x)
                if (At(image, x, y)) row[x / 8] |= static_cast<char>(0x80 >> (x % 8));
            data += row;
        } else {
            for (uint32_t x = 0; x < w; ++x) {
                const uint32_t v = At(image, x, y);
                if (bits == 8) {
                    data += static_cast<char>(v);
                } else {  // stored blue, green, red; PPM wants red, green, blue
                    data += static_cast<char>(v >> 16);
                    data += static_cast<char>(v >> 8);
                    data += static_cast<char>(v);
                }
            }
        }
    }
    testsupport::writeFile(path, data);
}

// Pixel values of a PNM file in our stored form, plus its size.
std::vector<uint32_t> ReadPnm(const std::string& path, int bits, uint32_t& w, uint32_t& h) {
    const std::string data = testsupport::readFile(path);
    size_t pos = 2;
    auto number = [&]() {
        while (pos < data.size() && std::isspace(static_cast<unsigned char>(data[pos]))) ++pos;
        uint32_t n = 0;
        while (pos < data.size() && std::isdigit(static_cast<unsigned char>(data[pos])))
            n = n * 10 + (data[pos++] - '0');
        return n;
    };
    w = number();
    h = number();
    if (bits != 1) number();
    ++pos;
    std::vector<uint32_t> values;
    const auto* p = reinterpret_cast<const uint8_t*>(data.data() + pos);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            if (bits == 1)
                values.push_back((p[y * ((w + 7) / 8) + x / 8] >> (7 - x % 8)) & 1);
            else if (bits == 8)
                values.push_back(p[y * w + x]);
            else {
                const uint8_t* q = p + 3 * (size_t{y} * w + x);
                values.push_back(q[2] | (q[1] << 8) | (q[0] << 16));
            }
        }
    return values;
}

std::vector<uint32_t> AreaPixels(const ImageBuffer& image) {
    std::vector<uint32_t> values;
    for (uint32_t y = 0; y < AreaHeight(image); ++y)
        for (uint32_t x = 0; x < AreaWidth(image); ++x) values.push_back(At(image, x, y));
    return values;
}

TEST(AgainstTools, TurnsMirrorAndNegativeMatchNetpbmAndImageMagick) {
    if (!testsupport::haveTool("pamflip") || !testsupport::fileExists("/usr/bin/convert"))
        GTEST_SKIP() << "netpbm or ImageMagick missing";
    TempDir dir;
    struct Case {
        const char* command;  // %s = input, %o = output
        int op;               // 0 right, 1 left, 2 half, 3 mirror, 4 invert
    };
    const Case cases[] = {
        {"pamflip -cw %s > %o", 0},
        {"pamflip -ccw %s > %o", 1},
        {"/usr/bin/convert %s -rotate 90 %o", 0},
        {"/usr/bin/convert %s -rotate 180 %o", 2},
        {"pamflip -lr %s > %o", 3},
        {"/usr/bin/convert %s -flop %o", 3},
        {"pnminvert %s > %o", 4},
    };
    WithAndWithoutCpuFeatures([&] {
        for (int bits : {1, 8, 24}) {
            // Wide enough for every whole-vector path of the transforms, with remainders.
            Picture src(307, 163, bits, 21);
            src.area(3, 2, 297, 150);  // 295 x 149
            const std::string in = dir.file("in" + std::to_string(bits) +
                                            (bits == 1   ? ".pbm"
                                             : bits == 8 ? ".pgm"
                                                         : ".ppm"));
            WritePnm(in, src.image);
            for (const Case& c : cases) {
                std::string command = c.command;
                const std::string out = in + ".out" +
                                        (bits == 1   ? ".pbm"
                                         : bits == 8 ? ".pgm"
                                                     : ".ppm");
                command.replace(command.find("%s"), 2, in);
                command.replace(command.find("%o"), 2, out);
                ASSERT_EQ(testsupport::run(command), 0) << command;
                uint32_t tw = 0, th = 0;
                const auto expected = ReadPnm(out, bits, tw, th);
                const bool quarter = c.op <= 1;
                ASSERT_EQ(tw, quarter ? 149u : 295u) << command;
                ImageBuffer result{};
                ASSERT_EQ(AllocateImage(result, static_cast<int>(tw), static_cast<int>(th), bits),
                          kImgOk);
                int status = kImgOk;
                switch (c.op) {
                    case 0:
                        status = RotateQuarterTurn(0, src.image, result);
                        break;
                    case 1:
                        status = RotateQuarterTurn(1, src.image, result);
                        break;
                    case 2:
                        status = RotateImage(180, src.image, result);
                        break;
                    case 3:
                        status = MirrorImage(src.image, result);
                        break;
                    default:
                        status = InvertImage(src.image, result);
                        break;
                }
                ASSERT_EQ(status, kImgOk);
                EXPECT_EQ(AreaPixels(result), expected) << command << ", " << bits << " bits";
                FreeImage(result);
            }
        }
    });
}

}  // namespace
