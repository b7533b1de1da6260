#include "cleanup/analysis_image.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <vector>

namespace vellumo::cleanup {

namespace {

// Luminance in 1/256 steps: 0.30 red, 0.59 green, 0.11 blue.
constexpr int kRedWeight = 77;
constexpr int kGreenWeight = 150;
constexpr int kBlueWeight = 29;
// The long side of a page whose resolution is not recorded, in inches.
constexpr double kAssumedLongSideInches = 11.0;
// The paper is the bright end of the histogram; ink is anything well darker than it.
constexpr double kPaperPercentile = 0.90;
constexpr double kInkShareOfPaper = 0.6;
// A copy whose paper is darker than this shows no paper at all.
constexpr int kDarkestPaper = 80;

int Luminance(const imaging::RgbQuad& c) {
    return (kRedWeight * c.rgbRed + kGreenWeight * c.rgbGreen + kBlueWeight * c.rgbBlue) >> 8;
}

// Adds one page row's luminance into the block sums: sums[bx] gets `scale` pixels starting at
// bx * scale of the area.
void AddRow(const imaging::ImageBuffer& page, const uint8_t* row, const std::array<int, 256>& lut,
            int scale, int blocks, uint32_t* sums) {
    const uint32_t left = page.areaLeft;
    const int bits = imaging::BitsPerPixel(page);
    if (bits == 1) {
        const int light0 = lut[0], light1 = lut[1];
        for (int bx = 0; bx < blocks; ++bx) {
            uint32_t sum = 0;
            uint32_t x = left + static_cast<uint32_t>(bx * scale);
            for (int k = 0; k < scale; ++k, ++x)
                sum += ((row[x >> 3] >> (7 - (x & 7))) & 1) ? light1 : light0;
            sums[bx] += sum;
        }
    } else if (bits == 8) {
        const uint8_t* p = row + left;
        for (int bx = 0; bx < blocks; ++bx) {
            uint32_t sum = 0;
            for (int k = 0; k < scale; ++k) sum += lut[*p++];
            sums[bx] += sum;
        }
    } else {
        const uint8_t* p = row + 3 * size_t{left};
        for (int bx = 0; bx < blocks; ++bx) {
            uint32_t sum = 0;
            for (int k = 0; k < scale; ++k, p += 3)
                sum += (kBlueWeight * p[0] + kGreenWeight * p[1] + kRedWeight * p[2]) >> 8;
            sums[bx] += sum;
        }
    }
}

// Leptonica writes its warnings to standard error, where they would mix with the command
// line's own messages; a failing measure is reported by its result instead.
void QuietLeptonica() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Never louder than it was: someone may have silenced it further.
        const l_int32 before = setMsgSeverity(L_SEVERITY_ERROR);
        if (before > L_SEVERITY_ERROR) setMsgSeverity(before);
    });
}

}  // namespace

void PixDeleter::operator()(Pix* pix) const {
    pixDestroy(&pix);
}

double PageDpi(const imaging::ImageBuffer& page) {
    const int recorded = std::max(imaging::ImageDpiX(page), imaging::ImageDpiY(page));
    if (recorded > 0) return recorded;
    const double longSide = std::max(imaging::AreaWidth(page), imaging::AreaHeight(page));
    return longSide / kAssumedLongSideInches;
}

AnalysisStatus MakeAnalysisImage(const imaging::ImageBuffer& page, int targetDpi,
                                 AnalysisImage& out) {
    out = AnalysisImage{};
    QuietLeptonica();
    const int bits = imaging::BitsPerPixel(page);
    if (!page.pixels || (bits != 1 && bits != 8 && bits != 24) || page.areaRight < page.areaLeft ||
        page.areaBottom < page.areaTop ||
        page.areaRight >= static_cast<uint32_t>(imaging::ImageWidth(page)) ||
        page.areaBottom >= static_cast<uint32_t>(imaging::ImageHeight(page)))
        return AnalysisStatus::Unsupported;
    const int areaWidth = static_cast<int>(imaging::AreaWidth(page));
    const int areaHeight = static_cast<int>(imaging::AreaHeight(page));
    if (areaWidth < kMinMeasurableSide || areaHeight < kMinMeasurableSide)
        return AnalysisStatus::TooSmall;

    const double dpi = PageDpi(page);
    int scale = std::max(1, static_cast<int>(std::lround(dpi / std::max(1, targetDpi))));
    // Never reduce below the measurable size.
    while (scale > 1 &&
           (areaWidth / scale < kMinMeasurableSide || areaHeight / scale < kMinMeasurableSide))
        --scale;
    const int width = areaWidth / scale;
    const int height = areaHeight / scale;

    std::array<int, 256> lut{};
    if (bits <= 8) {
        for (int i = 0; i < (1 << bits); ++i)
            lut[i] = page.palette && i < page.paletteSize ? Luminance(page.palette[i])
                                                          : i * 255 / ((1 << bits) - 1);
    }

    PixPtr grey(pixCreate(width, height, 8));
    if (!grey) return AnalysisStatus::NoMemory;
    pixSetResolution(grey.get(), static_cast<l_int32>(std::lround(dpi / scale)),
                     static_cast<l_int32>(std::lround(dpi / scale)));
    l_uint32* data = pixGetData(grey.get());
    const int wpl = pixGetWpl(grey.get());
    std::vector<uint32_t> sums(static_cast<size_t>(width));
    std::vector<uint8_t> line(static_cast<size_t>(wpl) * 4, 255);
    std::array<uint32_t, 256> histogram{};
    const uint32_t blockPixels = static_cast<uint32_t>(scale * scale);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (int k = 0; k < scale; ++k) {
            const uint8_t* row =
                imaging::RowPointer(page, page.areaTop + static_cast<uint32_t>(y * scale + k));
            AddRow(page, row, lut, scale, width, sums.data());
        }
        for (int x = 0; x < width; ++x) {
            const uint8_t v = static_cast<uint8_t>(sums[x] / blockPixels);
            line[x] = v;
            ++histogram[v];
        }
        // Leptonica keeps the leftmost pixel in the most significant byte of each word.
        l_uint32* words = data + static_cast<size_t>(y) * wpl;
        for (int w = 0; w < wpl; ++w) {
            const uint8_t* b = &line[static_cast<size_t>(w) * 4];
            words[w] = (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) |
                       uint32_t{b[3]};
        }
    }

    const uint64_t total = uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(height);
    const uint64_t paperRank = static_cast<uint64_t>(kPaperPercentile * static_cast<double>(total));
    uint64_t seen = 0;
    int paper = 255;
    for (int v = 0; v < 256; ++v) {
        seen += histogram[v];
        if (seen > paperRank) {
            paper = v;
            break;
        }
    }
    out.grey = std::move(grey);
    out.scale = scale;
    out.dpi = dpi / scale;
    out.paperLevel = paper;
    out.inkThreshold = static_cast<int>(std::lround(paper * kInkShareOfPaper));
    uint64_t ink = 0;
    for (int v = 0; v < out.inkThreshold; ++v) ink += histogram[v];
    out.inkFraction = static_cast<double>(ink) / static_cast<double>(total);
    if (paper < kDarkestPaper) return AnalysisStatus::AllBlack;
    return AnalysisStatus::Ok;
}

PixPtr InkMask(const AnalysisImage& analysis) {
    if (!analysis.grey) return nullptr;
    return PixPtr(pixThresholdToBinary(analysis.grey.get(), analysis.inkThreshold));
}

}  // namespace vellumo::cleanup
