#include "imaging/autocrop.h"

#include "imaging/convert.h"
#include "imaging/imaging.h"
#include "imaging/transform.h"
#include "platform/log.h"

namespace vellumo::imaging {

using namespace vellumo::platform;

namespace {

constexpr int kWhite24 = 0xFFFFFF;
constexpr int kDarkLimit = 64;

bool Light(int value) {
    return value > 0;
}
bool NotWhite(int value) {
    return value < kWhite24;
}

// A row qualifies when, over columns first..last (either direction), it holds a light pixel
// and a pixel that is not pure white.
bool RowQualifies(const ImageBuffer& copy, uint32_t y, uint32_t from, uint32_t to) {
    bool light = false, notWhite = false;
    const int step = from <= to ? 1 : -1;
    for (int64_t x = from;; x += step) {
        const int value = GetPixelValue(copy, static_cast<int>(x), static_cast<int>(y));
        light = light || Light(value);
        notWhite = notWhite || NotWhite(value);
        if (light && notWhite) return true;
        if (x == to) return false;
    }
}

bool ColumnQualifies(const ImageBuffer& copy, uint32_t x, uint32_t from, uint32_t to) {
    bool light = false, notWhite = false;
    const int step = from <= to ? 1 : -1;
    for (int64_t y = from;; y += step) {
        const int value = GetPixelValue(copy, static_cast<int>(x), static_cast<int>(y));
        light = light || Light(value);
        notWhite = notWhite || NotWhite(value);
        if (light && notWhite) return true;
        if (y == to) return false;
    }
}

}  // namespace

int ShrinkForAnalysis(ImageBuffer& image) {
    if (!HasValidArea(image)) return kImgEmpty;
    if (image.areaRight == 0) return kImgEmpty;  // no scale factor for a single column
    const uint32_t factor = 10000u / image.areaRight;
    const uint32_t width = (image.areaRight - image.areaLeft + 1) * factor / 100;
    const uint32_t height = (image.areaBottom - image.areaTop + 1) * factor / 100;
    if (width > kMaxImageSide || height > kMaxImageSide) return kImgNoMemory;
    ImageBuffer reduced{};
    int status = AllocateImage(reduced, static_cast<int>(width), static_cast<int>(height),
                               BitsPerPixel(image));
    if (status != kImgOk) return status;
    status = ResizeImage(image, reduced);
    if (status != kImgOk) {
        FreeImage(reduced);
        return status;
    }
    FreeImage(image);
    CopyImageDescriptor(reduced, image);
    return kImgOk;
}

int AutoCropImage(ImageBuffer& image) {
    BusyIndicator busy;
    WriteLog("autocrop start\n");
    if (!HasValidArea(image)) return kImgEmpty;

    ScopedImage copy;
    ImageBuffer& L = copy.image;
    const int depth = BitsPerPixel(image);
    int status = AllocateImage(L, static_cast<int>(AreaWidth(image)),
                               static_cast<int>(AreaHeight(image)), depth);
    if (status != kImgOk) return status;
    WriteLog("allocate for copy done\n");
    status = CopyImageArea(image, L);
    if (status != kImgOk) return status;
    WriteLog("copy made\n");

    switch (depth) {
        case 1:
            status = ShrinkForAnalysis(L);
            if (status != kImgOk) return status;
            WriteLog("small image made\n");
            break;
        case 8:
        case 24:
            if (depth == 8) ConvertToGray(L, L);
            status = ShrinkForAnalysis(L);
            if (status != kImgOk) return status;
            WriteLog("small image made\n");
            status = ThresholdImage(kDarkLimit, L, L);
            if (status != kImgOk) return status;
            WriteLog("kodalith made\n");
            break;
        default:
            return kImgBadDepth;
    }

    const uint32_t W = L.areaRight, H = L.areaBottom;
    // The image's own extent, measured from its area's top-left corner. For the whole image
    // (the case of a fresh scan) these are just areaRight and areaBottom.
    const uint32_t spanX = image.areaRight - image.areaLeft;
    const uint32_t spanY = image.areaBottom - image.areaTop;

    uint32_t yTop = H;
    for (uint32_t y = 0; y < H; ++y)
        if (W > 0 && RowQualifies(L, y, 0, W - 1)) {
            yTop = y;
            break;
        }
    uint32_t yBottom = 0;
    for (uint32_t y = H; y >= 1; --y)
        if (W > 0 && RowQualifies(L, y, W, 1)) {
            yBottom = y;
            break;
        }
    uint32_t xLeft = W;
    for (uint32_t x = 0; x < W; ++x)
        if (H > 0 && ColumnQualifies(L, x, 0, H - 1)) {
            xLeft = x;
            break;
        }
    uint32_t xRight = 0;
    for (uint32_t x = W; x >= 1; --x)
        if (H > 0 && ColumnQualifies(L, x, H, 1)) {
            xRight = x;
            break;
        }

    const bool rowsFound = yTop < H && yBottom > 0;
    const bool columnsFound = xLeft < W && xRight > 0;
    // Top and left keep one reduced line of margin; bottom and right map their own line.
    const uint32_t top = yTop == 0 ? 0 : (yTop - 1) * spanY / H;
    const uint32_t bottom = yBottom == 0 ? 0 : yBottom * spanY / H;
    const uint32_t left = xLeft == 0 ? 0 : (xLeft - 1) * spanX / W;
    const uint32_t right = xRight == 0 ? 0 : xRight * spanX / W;

    if (!rowsFound || !columnsFound || top > bottom || left > right) {
        WriteLogF("autocrop found no page edges (%d, %d, %d, %d), image area unchanged\n",
                  static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                  static_cast<int>(bottom));
        return kImgOk;
    }
    WriteLogF("new image area: %d, %d, %d, %d\n", static_cast<int>(left), static_cast<int>(top),
              static_cast<int>(right), static_cast<int>(bottom));
    SetImageArea(image, image.areaLeft + left, image.areaTop + top, image.areaLeft + right,
                 image.areaTop + bottom);
    WriteLog("new image area set\n");
    return kImgOk;
}

}  // namespace vellumo::imaging
