#include "imaging/working_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "imaging/convert.h"
#include "imaging/transform.h"

namespace vellumo::imaging {

int RotateWorkingImage(ImageBuffer& workingImage, int direction) {
    ImageBuffer turned = {};
    int rc = AllocateImage(turned, static_cast<int>(AreaHeight(workingImage)),
                           static_cast<int>(AreaWidth(workingImage)), BitsPerPixel(workingImage));
    if (rc) return rc;
    rc = RotateQuarterTurn(direction, workingImage, turned);
    if (rc) {
        FreeImage(turned);
        return rc;
    }
    CopyPalette(workingImage, turned);
    FreeImage(workingImage);
    CopyImageDescriptor(turned, workingImage);
    return kImgOk;
}

void PreviewDisplaySize(int areaWidth, int areaHeight, int frameWidth, int frameHeight,
                        int& displayWidth, int& displayHeight) {
    const int w = std::max(areaWidth, 1);
    const int h = std::max(areaHeight, 1);
    // Whole percents, as the frame-to-image ratios are rounded towards zero.
    const int r = frameWidth * 100 / w;
    const int v = frameHeight * 100 / h;
    if (std::min(r, v) >= 100) {
        displayWidth = w;
        displayHeight = h;
    } else if (r < v) {
        displayWidth = frameWidth;
        displayHeight = r * h / 100;
    } else {
        displayWidth = v * w / 100;
        displayHeight = frameHeight;
    }
    displayWidth = std::max(displayWidth, 1);
    displayHeight = std::max(displayHeight, 1);
}

int MakeDisplayCopy(const ImageBuffer& source, int frameWidth, int frameHeight,
                    ImageBuffer& display) {
    FreeImage(display);
    if (!source.header) return kImgEmpty;
    const int w = static_cast<int>(AreaWidth(source));
    const int h = static_cast<int>(AreaHeight(source));

    ImageBuffer copy = {};
    int rc = AllocateImage(copy, w, h, BitsPerPixel(source));
    if (rc) return rc;
    rc = CopyImageArea(source, copy);
    if (rc) {
        FreeImage(copy);
        return rc;
    }
    if (BitsPerPixel(copy) == 1) {
        ImageBuffer grey = {};
        if (AllocateImage(grey, w, h, 8) == kImgOk) {
            if (ExpandBilevelToGray(copy, grey) == kImgOk) {
                FreeImage(copy);
                CopyImageDescriptor(grey, copy);
                SmoothImage(copy, copy);
            } else {
                FreeImage(grey);
            }
        }
    }

    int dw = 0, dh = 0;
    PreviewDisplaySize(w, h, frameWidth, frameHeight, dw, dh);
    rc = AllocateImage(display, dw, dh, BitsPerPixel(copy));
    if (rc == kImgOk) rc = ResizeImage(copy, display);
    if (rc) FreeImage(display);
    FreeImage(copy);
    return rc;
}

SelectionRect SelectionToImageArea(const ImageBuffer& image, const ImageBuffer& display,
                                   const SelectionRect& selection, int originX, int originY) {
    // Display and image share one scale factor, in percent, taken from the heights. A display
    // copy one row high has no height to compare: it is shown unscaled then.
    const uint32_t displayBottom = display.areaBottom;
    const uint32_t s =
        displayBottom ? (image.areaBottom - image.areaTop) * 100u / displayBottom : 100u;
    const SelectionRect sel{
        std::min(selection.left, selection.right), std::min(selection.top, selection.bottom),
        std::max(selection.left, selection.right), std::max(selection.top, selection.bottom)};
    const auto offset = [](int v, int origin) {
        return static_cast<uint32_t>(std::max(v - origin, 0));
    };
    const uint32_t top = s * offset(sel.top, originY) / 100u;
    const uint32_t bottom = top + static_cast<uint32_t>(sel.bottom - sel.top) * s / 100u;
    const uint32_t left = s * offset(sel.left, originX) / 100u;
    const uint32_t right = left + static_cast<uint32_t>(sel.right - sel.left) * s / 100u;

    // Rounding of the display size may carry the far edges past the image; keep them inside.
    const auto clampTo = [](uint32_t v, uint32_t first, uint32_t last) {
        return static_cast<int>(std::min(first + v, last));
    };
    return SelectionRect{clampTo(left, image.areaLeft, image.areaRight),
                         clampTo(top, image.areaTop, image.areaBottom),
                         clampTo(right, image.areaLeft, image.areaRight),
                         clampTo(bottom, image.areaTop, image.areaBottom)};
}

SelectionRect ZoomedSelectionToImageArea(const ImageBuffer& image, double scale,
                                         const SelectionRect& selection, double originX,
                                         double originY) {
    if (scale <= 0) return SelectionRect{};
    const auto toImage = [scale](int v, double origin, uint32_t first, uint32_t last) {
        const double at = std::floor((v - origin) / scale) + first;
        return static_cast<int>(
            std::clamp(at, static_cast<double>(first), static_cast<double>(last)));
    };
    const int left = std::min(selection.left, selection.right);
    const int right = std::max(selection.left, selection.right);
    const int top = std::min(selection.top, selection.bottom);
    const int bottom = std::max(selection.top, selection.bottom);
    return SelectionRect{toImage(left, originX, image.areaLeft, image.areaRight),
                         toImage(top, originY, image.areaTop, image.areaBottom),
                         toImage(right, originX, image.areaLeft, image.areaRight),
                         toImage(bottom, originY, image.areaTop, image.areaBottom)};
}

int CropImageToArea(ImageBuffer& image, const SelectionRect& area) {
    if (!image.header || area.left < 0 || area.top < 0 || area.right < area.left ||
        area.bottom < area.top || area.right >= ImageWidth(image) ||
        area.bottom >= ImageHeight(image))
        return kImgEmpty;
    int rc = SetImageArea(image, static_cast<uint32_t>(area.left), static_cast<uint32_t>(area.top),
                          static_cast<uint32_t>(area.right), static_cast<uint32_t>(area.bottom));
    if (rc) return rc;
    ImageBuffer cropped = {};
    rc = AllocateImage(cropped, static_cast<int>(AreaWidth(image)),
                       static_cast<int>(AreaHeight(image)), BitsPerPixel(image));
    if (rc) return rc;
    rc = ResizeImage(image, cropped);
    if (rc) {
        FreeImage(cropped);
        return rc;
    }
    FreeImage(image);
    CopyImageDescriptor(cropped, image);
    return kImgOk;
}

}  // namespace vellumo::imaging
