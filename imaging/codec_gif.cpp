// GIF through giflib. Loading gives the image's logical screen with the first frame (interlaced
// or not) placed at its offset; the rest of the screen shows the background colour, or white
// when the frame has a transparent colour (which is white too) or a colour table of its own. A
// two-colour table gives a 1-bit image, any other an 8-bit palette image (24-bit when a full table
// has no room for the background). A frame whose data breaks off is shown as far as it decodes, as
// other viewers show it. Saving writes 1- and 8-bit images with their colour tables; colour images
// are reduced to 256 colours by median cut on a 5-bit-per-channel histogram (always splitting the
// box with the largest squared error), refined by two rounds of k-means, then mapped to the nearest
// colour without dithering, which keeps scanned text crisp and flat areas clean.
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "imaging/codec_common.h"
#include "imaging/codecs.h"

namespace vellumo::imaging {

namespace {

// A 12-bit LZW code can stand for at most 4096 pixels.
constexpr uint64_t kLzwExpansion = 4096 * 8 / 3;

// giflib reads the file itself, through stdio: memory holds the picture, not the file.
int ReadFromFile(GifFileType* gif, GifByteType* buffer, int length) {
    if (length <= 0) return 0;
    return static_cast<int>(
        std::fread(buffer, 1, static_cast<size_t>(length), static_cast<FILE*>(gif->UserData)));
}

struct GifReader {
    FILE* stream = nullptr;
    GifFileType* gif = nullptr;
    ~GifReader() {
        if (gif) DGifCloseFile(gif, nullptr);
        if (stream) std::fclose(stream);
    }
};

struct FrameInfo {
    int width = 0, height = 0;  // of the frame
    int left = 0, top = 0;
    int pageWidth = 0, pageHeight = 0;  // the logical screen, grown to hold the frame
    bool interlaced = false;
    int transparent = -1;
    const ColorMapObject* colours = nullptr;
    int imageBits = 0;
    // The page's colour table: the frame's, transparent entry white, plus the fill colour
    // when it had to be added.
    std::vector<RgbQuad> table;
    int fillIndex = -1;  // the table entry of what lies outside the frame
    RgbQuad fill{255, 255, 255, 0};
};

// The page's colour table, its depth, and how the screen around the frame is filled.
void PlanPage(const GifFileType* gif, FrameInfo& frame) {
    frame.table.clear();
    if (frame.colours) {
        for (int i = 0; i < frame.colours->ColorCount && i < 256; ++i) {
            const GifColorType& c = frame.colours->Colors[i];
            frame.table.push_back(RgbQuad{c.Blue, c.Green, c.Red, 0});
        }
    } else {
        // No colour table at all: show the indices as grey levels.
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<uint8_t>(i);
            frame.table.push_back(RgbQuad{v, v, v, 0});
        }
    }
    if (frame.transparent >= 0 && frame.transparent < static_cast<int>(frame.table.size()))
        frame.table[static_cast<size_t>(frame.transparent)] = RgbQuad{255, 255, 255, 0};
    const bool covered = frame.left == 0 && frame.top == 0 && frame.width == frame.pageWidth &&
                         frame.height == frame.pageHeight;
    frame.fillIndex = -1;
    if (!covered) {
        // The background index belongs to the global table; a frame with a table of its own
        // does not use it, and its screen is shown white, as ImageMagick shows it.
        const ColorMapObject* screen = gif->SColorMap;
        if (frame.transparent >= 0 || frame.colours != screen) {
            frame.fill = RgbQuad{255, 255, 255, 0};
        } else if (screen && gif->SBackGroundColor >= 0 &&
                   gif->SBackGroundColor < screen->ColorCount) {
            const GifColorType& c = screen->Colors[gif->SBackGroundColor];
            frame.fill = RgbQuad{c.Blue, c.Green, c.Red, 0};
        }
        for (size_t i = 0; i < frame.table.size() && frame.fillIndex < 0; ++i)
            if (std::memcmp(&frame.table[i], &frame.fill, sizeof(RgbQuad)) == 0)
                frame.fillIndex = static_cast<int>(i);
        if (frame.fillIndex < 0 && frame.table.size() < 256) {
            frame.fillIndex = static_cast<int>(frame.table.size());
            frame.table.push_back(frame.fill);
        }
    }
    if (!covered && frame.fillIndex < 0)
        frame.imageBits = 24;
    else
        frame.imageBits = frame.table.size() <= 2 ? 1 : 8;
}

// Walks to the first image descriptor, collecting the transparency of its graphic control
// extension. The reader then stands at the frame's pixel data.
int FindFirstFrame(GifFileType* gif, size_t fileBytes, FrameInfo& frame) {
    int transparent = -1;
    while (true) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return kImgCorruptFile;
        if (type == TERMINATE_RECORD_TYPE) return kImgCorruptFile;  // no frame at all
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return kImgCorruptFile;
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
                GraphicsControlBlock control;
                if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
                    transparent = control.TransparentColor;
            }
            while (block) {
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return kImgCorruptFile;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) return kImgCorruptFile;
        if (DGifGetImageDesc(gif) == GIF_ERROR) return kImgCorruptFile;
        break;
    }
    frame.width = gif->Image.Width;
    frame.height = gif->Image.Height;
    frame.left = gif->Image.Left;
    frame.top = gif->Image.Top;
    frame.interlaced = gif->Image.Interlace;
    frame.transparent = transparent;
    frame.colours = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
    if (frame.width <= 0 || frame.height <= 0 || frame.left < 0 || frame.top < 0)
        return kImgCorruptFile;
    frame.pageWidth = std::max(gif->SWidth, frame.left + frame.width);
    frame.pageHeight = std::max(gif->SHeight, frame.top + frame.height);
    PlanPage(gif, frame);
    if (!codec::AcceptableDimensions(static_cast<uint64_t>(frame.pageWidth),
                                     static_cast<uint64_t>(frame.pageHeight), frame.imageBits))
        return kImgNoMemory;
    // The frame is coded data; the screen around it is not, so it may be larger than the
    // frame only within reason: a tiny file must not claim a huge page.
    const uint64_t framePixels = uint64_t(frame.width) * uint64_t(frame.height);
    const uint64_t screenPixels = uint64_t(frame.pageWidth) * uint64_t(frame.pageHeight);
    if (!codec::PlausibleSize(framePixels, fileBytes, kLzwExpansion) ||
        screenPixels > std::max<uint64_t>(16 * framePixels, uint64_t{1} << 20))
        return kImgCorruptFile;
    return kImgOk;
}

// Opens the file for giflib when it starts with a GIF signature; fileBytes gets its size.
int OpenGif(const char* file, GifReader& session, size_t& fileBytes) {
    session.stream = file ? std::fopen(file, "rb") : nullptr;
    if (!session.stream) return kImgCannotOpen;
    char magic[6] = {};
    if (std::fread(magic, 1, 6, session.stream) != 6 || std::memcmp(magic, "GIF", 3) != 0 ||
        (std::memcmp(magic + 3, "87a", 3) != 0 && std::memcmp(magic + 3, "89a", 3) != 0))
        return kImgNotThisFormat;
    const long long size = codec::FileSize(session.stream);
    if (size < 0) return kImgCannotOpen;
    fileBytes = static_cast<size_t>(size);
    std::rewind(session.stream);
    int error = 0;
    session.gif = DGifOpen(session.stream, ReadFromFile, &error);
    return session.gif ? kImgOk : kImgCorruptFile;
}

}  // namespace

int InspectGif(const char* file, ImageFileInfo& info) {
    info = ImageFileInfo{};
    GifReader session;
    size_t fileBytes = 0;
    if (int rc = OpenGif(file, session, fileBytes)) return rc;
    FrameInfo frame;
    if (int rc = FindFirstFrame(session.gif, fileBytes, frame)) return rc;
    info.width = frame.pageWidth;
    info.height = frame.pageHeight;
    info.bitsPerPixel = frame.imageBits;
    info.fileBitsPerSample = frame.colours ? frame.colours->BitsPerPixel : 8;
    info.fileSamplesPerPixel = 1;
    info.compression = frame.interlaced ? 1 : 0;
    return kImgOk;
}

int LoadGif(const char* file, ImageBuffer& image) {
    if (!image.header) return kImgEmpty;
    GifReader session;
    size_t fileBytes = 0;
    if (int rc = OpenGif(file, session, fileBytes)) return rc;
    FrameInfo frame;
    if (int rc = FindFirstFrame(session.gif, fileBytes, frame)) return rc;
    if (int rc = codec::CheckLoadTarget(image, frame.pageWidth, frame.pageHeight, frame.imageBits))
        return rc;
    const bool colour = frame.imageBits == 24;
    if (!colour) {
        std::memset(image.palette, 0, sizeof(RgbQuad) * static_cast<size_t>(image.paletteSize));
        for (size_t i = 0; i < frame.table.size() && i < static_cast<size_t>(image.paletteSize);
             ++i)
            image.palette[i] = frame.table[i];
    }
    if (!colour && HasGreyRamp(image))
        image.imageFlags |= kImageFlagGrey;
    else
        image.imageFlags &= ~kImageFlagGrey;
    image.header->biXPelsPerMeter = 0;
    image.header->biYPelsPerMeter = 0;

    // The screen around the frame.
    const int pageWidth = frame.pageWidth, pageHeight = frame.pageHeight;
    const int fill = frame.fillIndex < 0 ? 0 : frame.fillIndex;
    for (int y = 0; y < pageHeight; ++y) {
        uint8_t* row = RowPointer(image, static_cast<uint32_t>(y));
        if (frame.imageBits == 8) {
            std::memset(row, fill, static_cast<size_t>(pageWidth));
        } else if (frame.imageBits == 1) {
            std::memset(row, fill ? 0xFF : 0, image.rowBytes);
        } else {
            for (int x = 0; x < pageWidth; ++x) {
                row[3 * x] = frame.fill.rgbBlue;
                row[3 * x + 1] = frame.fill.rgbGreen;
                row[3 * x + 2] = frame.fill.rgbRed;
            }
        }
    }

    const int width = frame.width, height = frame.height;
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    // Interlaced rows arrive in four passes: every 8th from 0, every 8th from 4, every 4th
    // from 2, every 2nd from 1.
    static const int kStart[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    const int passes = frame.interlaced ? 4 : 1;
    bool broken = false;
    int rowsDone = 0;
    for (int pass = 0; pass < passes && !broken; ++pass) {
        const int start = frame.interlaced ? kStart[pass] : 0;
        const int step = frame.interlaced ? kStep[pass] : 1;
        for (int y = start; y < height && !broken; y += step) {
            // A row the data breaks off in keeps what was decoded of it; the rest of the frame
            // keeps the fill.
            std::fill(line.begin(), line.end(), static_cast<GifPixelType>(fill));
            broken = DGifGetLine(session.gif, line.data(), width) == GIF_ERROR;
            // Data that does not give one whole row is no picture at all.
            if (broken && rowsDone == 0) return kImgCorruptFile;
            ++rowsDone;
            uint8_t* row = RowPointer(image, static_cast<uint32_t>(frame.top + y));
            const int left = frame.left;
            if (frame.imageBits == 8) {
                std::memcpy(row + left, line.data(), static_cast<size_t>(width));
            } else if (frame.imageBits == 1) {
                for (int x = 0; x < width; ++x) {
                    const int at = left + x;
                    const uint8_t mask = static_cast<uint8_t>(0x80 >> (at & 7));
                    if (line[x] & 1)
                        row[at >> 3] |= mask;
                    else
                        row[at >> 3] &= static_cast<uint8_t>(~mask);
                }
            } else {
                for (int x = 0; x < width; ++x) {
                    const size_t index = line[x];
                    const RgbQuad c = index < frame.table.size() ? frame.table[index] : RgbQuad{};
                    uint8_t* p = row + 3 * static_cast<size_t>(left + x);
                    p[0] = c.rgbBlue;
                    p[1] = c.rgbGreen;
                    p[2] = c.rgbRed;
                }
            }
        }
    }
    if (frame.imageBits == 1 && pageWidth % 8) {
        for (int y = 0; y < pageHeight; ++y)
            RowPointer(image, static_cast<uint32_t>(y))[(pageWidth - 1) / 8] &=
                static_cast<uint8_t>(0xFF << (8 - pageWidth % 8));
    }
    return kImgOk;
}

namespace {

int WriteToFile(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<codec::OutputFile*>(gif->UserData);
    return out->write(data, static_cast<size_t>(length)) ? length : 0;
}

struct GifWriter {
    GifFileType* gif = nullptr;
    ~GifWriter() {
        if (gif) EGifCloseFile(gif, nullptr);
    }
    int close() {
        GifFileType* g = gif;
        gif = nullptr;
        return EGifCloseFile(g, nullptr) == GIF_OK ? kImgOk : kImgShortWrite;
    }
};

struct ColourMap {
    ColorMapObject* map = nullptr;
    explicit ColourMap(int count) { map = GifMakeMapObject(count, nullptr); }
    ~ColourMap() {
        if (map) GifFreeMapObject(map);
    }
};

}  // namespace

namespace {

// One histogram cell: a colour (the mean of the pixels that fell into it) and its weight.
struct Cell {
    double colour[3];
    uint64_t count;
};

struct Box {
    size_t begin, end;  // cells [begin, end)
    double error;       // weighted squared distance of its cells to their mean
    int axis;           // channel with the largest spread
};

void Measure(const std::vector<Cell>& cells, Box& box) {
    double sum[3] = {0, 0, 0}, squares[3] = {0, 0, 0};
    double weight = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
        const double w = static_cast<double>(cells[i].count);
        weight += w;
        for (int c = 0; c < 3; ++c) {
            sum[c] += w * cells[i].colour[c];
            squares[c] += w * cells[i].colour[c] * cells[i].colour[c];
        }
    }
    box.error = 0;
    double widest = -1;
    for (int c = 0; c < 3; ++c) {
        const double spread = squares[c] - sum[c] * sum[c] / weight;
        box.error += spread;
        if (spread > widest) {
            widest = spread;
            box.axis = c;
        }
    }
    if (box.end - box.begin < 2) box.error = 0;
}

double Distance(const double* a, const uint8_t* b) {
    const double dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return dr * dr + dg * dg + db * db;
}

int Nearest(const std::vector<std::array<uint8_t, 3>>& palette, const double* colour) {
    int best = 0;
    double bestDistance = 1e30;
    for (size_t i = 0; i < palette.size(); ++i) {
        const double d = Distance(colour, palette[i].data());
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

// Reduces the RGB planes (one byte per pixel each) to at most 256 colours: fills indices and
// the colour map, returns the number of colours.
int Quantise(const std::vector<uint8_t>& red, const std::vector<uint8_t>& green,
             const std::vector<uint8_t>& blue, std::vector<GifPixelType>& indices,
             GifColorType* map) {
    const size_t n = red.size();
    struct Sum {
        uint64_t count = 0, r = 0, g = 0, b = 0;
    };
    std::vector<Sum> histogram(32768);
    for (size_t i = 0; i < n; ++i) {
        Sum& s = histogram[((red[i] >> 3) << 10) | ((green[i] >> 3) << 5) | (blue[i] >> 3)];
        ++s.count;
        s.r += red[i];
        s.g += green[i];
        s.b += blue[i];
    }
    std::vector<Cell> cells;
    for (const Sum& s : histogram)
        if (s.count) {
            const double c = static_cast<double>(s.count);
            cells.push_back(Cell{{s.r / c, s.g / c, s.b / c}, s.count});
        }

    // Median cut.
    std::vector<Box> boxes{Box{0, cells.size(), 0, 0}};
    Measure(cells, boxes[0]);
    while (boxes.size() < 256) {
        auto worst = std::max_element(boxes.begin(), boxes.end(),
                                      [](const Box& a, const Box& b) { return a.error < b.error; });
        if (worst->error <= 0) break;
        Box box = *worst;
        const int axis = box.axis;
        std::sort(cells.begin() + static_cast<long>(box.begin),
                  cells.begin() + static_cast<long>(box.end),
                  [axis](const Cell& a, const Cell& b) { return a.colour[axis] < b.colour[axis]; });
        uint64_t total = 0;
        for (size_t i = box.begin; i < box.end; ++i) total += cells[i].count;
        uint64_t running = 0;
        size_t split = box.begin + 1;
        for (size_t i = box.begin; i < box.end - 1; ++i) {
            running += cells[i].count;
            split = i + 1;
            if (running * 2 >= total) break;
        }
        Box low{box.begin, split, 0, 0}, high{split, box.end, 0, 0};
        Measure(cells, low);
        Measure(cells, high);
        *worst = low;
        boxes.push_back(high);
    }
    std::vector<std::array<uint8_t, 3>> palette;
    for (const Box& box : boxes) {
        double sum[3] = {0, 0, 0}, weight = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            weight += static_cast<double>(cells[i].count);
            for (int c = 0; c < 3; ++c) sum[c] += cells[i].count * cells[i].colour[c];
        }
        palette.push_back({static_cast<uint8_t>(sum[0] / weight + 0.5),
                           static_cast<uint8_t>(sum[1] / weight + 0.5),
                           static_cast<uint8_t>(sum[2] / weight + 0.5)});
    }
    // K-means refinement on the cells.
    for (int round = 0; round < 2 && cells.size() > palette.size(); ++round) {
        std::vector<std::array<double, 4>> sums(palette.size(), {0, 0, 0, 0});
        for (const Cell& cell : cells) {
            auto& s = sums[static_cast<size_t>(Nearest(palette, cell.colour))];
            const double w = static_cast<double>(cell.count);
            for (int c = 0; c < 3; ++c) s[c] += w * cell.colour[c];
            s[3] += w;
        }
        for (size_t i = 0; i < palette.size(); ++i)
            if (sums[i][3] > 0)
                for (int c = 0; c < 3; ++c)
                    palette[i][c] = static_cast<uint8_t>(sums[i][c] / sums[i][3] + 0.5);
    }
    // Mapping, through a cache on 6 bits per channel.
    std::vector<int16_t> cache(size_t{1} << 18, -1);
    for (size_t i = 0; i < n; ++i) {
        const size_t key = (static_cast<size_t>(red[i] >> 2) << 12) |
                           (static_cast<size_t>(green[i] >> 2) << 6) | (blue[i] >> 2);
        if (cache[key] < 0) {
            const double colour[3] = {static_cast<double>(red[i]), static_cast<double>(green[i]),
                                      static_cast<double>(blue[i])};
            cache[key] = static_cast<int16_t>(Nearest(palette, colour));
        }
        indices[i] = static_cast<GifPixelType>(cache[key]);
    }
    for (size_t i = 0; i < palette.size(); ++i)
        map[i] = GifColorType{palette[i][0], palette[i][1], palette[i][2]};
    return static_cast<int>(palette.size());
}

}  // namespace

int SaveGif(const char* file, const ImageBuffer& image) {
    if (int rc = codec::CheckSaveSource(image)) return rc;
    const int bits = BitsPerPixel(image);
    const uint32_t width = AreaWidth(image), height = AreaHeight(image);
    if (width > 65535 || height > 65535) return kImgTooLarge;

    // The frame as indices, top row first, and its colour table.
    const int mapBits = bits == 1 ? 1 : 8;
    ColourMap colours(1 << mapBits);
    if (!colours.map) return kImgNoMemory;
    std::vector<GifPixelType> indices;
    try {
        indices.resize(static_cast<size_t>(width) * height);
    } catch (const std::bad_alloc&) {
        return kImgNoMemory;
    }
    if (bits <= 8) {
        for (int i = 0; i < (1 << mapBits); ++i) {
            const RgbQuad c = i < image.paletteSize ? image.palette[i] : RgbQuad{};
            colours.map->Colors[i] = GifColorType{c.rgbRed, c.rgbGreen, c.rgbBlue};
        }
        for (uint32_t y = 0; y < height; ++y) {
            GifPixelType* out = indices.data() + static_cast<size_t>(y) * width;
            const uint8_t* row = RowPointer(image, image.areaTop + y);
            if (bits == 8) {
                std::memcpy(out, row + image.areaLeft, width);
            } else {
                for (uint32_t x = 0; x < width; ++x) {
                    const uint32_t sx = image.areaLeft + x;
                    out[x] = (row[sx >> 3] >> (7 - (sx & 7))) & 1;
                }
            }
        }
    } else {
        std::vector<uint8_t> red, green, blue;
        std::vector<uint8_t> rgb(static_cast<size_t>(width) * 3);
        try {
            red.resize(indices.size());
            green.resize(indices.size());
            blue.resize(indices.size());
        } catch (const std::bad_alloc&) {
            return kImgNoMemory;
        }
        for (uint32_t y = 0; y < height; ++y) {
            codec::AreaRowToRgb(image, y, rgb.data());
            const size_t base = static_cast<size_t>(y) * width;
            for (uint32_t x = 0; x < width; ++x) {
                red[base + x] = rgb[3 * x];
                green[base + x] = rgb[3 * x + 1];
                blue[base + x] = rgb[3 * x + 2];
            }
        }
        const int mapSize = Quantise(red, green, blue, indices, colours.map->Colors);
        for (int i = mapSize; i < 256; ++i) colours.map->Colors[i] = GifColorType{0, 0, 0};
    }

    codec::OutputFile out;
    if (int rc = out.open(file)) return rc;
    GifWriter writer;
    int error = 0;
    writer.gif = EGifOpen(&out, WriteToFile, &error);
    if (!writer.gif) return kImgEncodeFailed;
    if (EGifPutScreenDesc(writer.gif, static_cast<int>(width), static_cast<int>(height), mapBits, 0,
                          colours.map) == GIF_ERROR ||
        EGifPutImageDesc(writer.gif, 0, 0, static_cast<int>(width), static_cast<int>(height), false,
                         nullptr) == GIF_ERROR)
        return out.ok() ? kImgEncodeFailed : kImgShortWrite;
    for (uint32_t y = 0; y < height; ++y) {
        if (EGifPutLine(writer.gif, indices.data() + static_cast<size_t>(y) * width,
                        static_cast<int>(width)) == GIF_ERROR)
            return out.ok() ? kImgEncodeFailed : kImgShortWrite;
    }
    if (int rc = writer.close()) return rc;
    return out.commit();
}

}  // namespace vellumo::imaging
