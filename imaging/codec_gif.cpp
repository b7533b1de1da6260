// GIF through giflib. Loading decodes the first frame (interlaced or not) at its own size:
// a two-colour table gives a 1-bit image, any other an 8-bit palette image, and the
// transparent colour becomes white. Saving writes 1- and 8-bit images with their colour
// tables; colour images are reduced to 256 colours by median cut on a 5-bit-per-channel
// histogram (always splitting the box with the largest squared error), refined by two rounds
// of k-means, then mapped to the nearest colour without dithering, which keeps scanned text
// crisp and flat areas clean.
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

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    if (length <= 0) return 0;
    const size_t left = reader->size - reader->pos;
    const size_t n = static_cast<size_t>(length) < left ? static_cast<size_t>(length) : left;
    std::memcpy(buffer, reader->data + reader->pos, n);
    reader->pos += n;
    return static_cast<int>(n);
}

struct GifReader {
    GifFileType* gif = nullptr;
    ~GifReader() {
        if (gif) DGifCloseFile(gif, nullptr);
    }
};

struct FrameInfo {
    int width = 0, height = 0;
    bool interlaced = false;
    int transparent = -1;
    const ColorMapObject* colours = nullptr;
    int imageBits = 0;
};

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
    frame.interlaced = gif->Image.Interlace;
    frame.transparent = transparent;
    frame.colours = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
    frame.imageBits = frame.colours && frame.colours->ColorCount <= 2 ? 1 : 8;
    if (frame.width <= 0 || frame.height <= 0) return kImgCorruptFile;
    if (!codec::AcceptableDimensions(static_cast<uint64_t>(frame.width),
                                     static_cast<uint64_t>(frame.height), frame.imageBits))
        return kImgNoMemory;
    if (!codec::PlausibleSize(uint64_t(frame.width) * uint64_t(frame.height), fileBytes,
                              kLzwExpansion))
        return kImgCorruptFile;
    return kImgOk;
}

int OpenGif(const std::vector<uint8_t>& data, MemoryReader& reader, GifReader& session) {
    if (data.size() < 6 || std::memcmp(data.data(), "GIF", 3) != 0 ||
        (std::memcmp(data.data() + 3, "87a", 3) != 0 &&
         std::memcmp(data.data() + 3, "89a", 3) != 0))
        return kImgNotThisFormat;
    reader = MemoryReader{data.data(), data.size(), 0};
    int error = 0;
    session.gif = DGifOpen(&reader, ReadFromMemory, &error);
    return session.gif ? kImgOk : kImgCorruptFile;
}

// Reads the file when it starts with a GIF signature.
int ReadHead(const char* file, std::vector<uint8_t>& data) {
    FILE* stream = file ? std::fopen(file, "rb") : nullptr;
    if (!stream) return kImgCannotOpen;
    char magic[6] = {};
    const bool gif = std::fread(magic, 1, 6, stream) == 6 && std::memcmp(magic, "GIF", 3) == 0;
    std::fclose(stream);
    if (!gif) return kImgNotThisFormat;
    return codec::ReadWholeFile(file, data, size_t{1} << 30);
}

}  // namespace

int InspectGif(const char* file, ImageFileInfo& info) {
    info = ImageFileInfo{};
    std::vector<uint8_t> data;
    if (int rc = ReadHead(file, data)) return rc;
    MemoryReader reader{};
    GifReader session;
    if (int rc = OpenGif(data, reader, session)) return rc;
    FrameInfo frame;
    if (int rc = FindFirstFrame(session.gif, data.size(), frame)) return rc;
    info.width = frame.width;
    info.height = frame.height;
    info.bitsPerPixel = frame.imageBits;
    info.fileBitsPerSample = frame.colours ? frame.colours->BitsPerPixel : 8;
    info.fileSamplesPerPixel = 1;
    info.compression = frame.interlaced ? 1 : 0;
    return kImgOk;
}

int LoadGif(const char* file, ImageBuffer& image) {
    if (!image.header) return kImgEmpty;
    std::vector<uint8_t> data;
    if (int rc = ReadHead(file, data)) return rc;
    MemoryReader reader{};
    GifReader session;
    if (int rc = OpenGif(data, reader, session)) return rc;
    FrameInfo frame;
    if (int rc = FindFirstFrame(session.gif, data.size(), frame)) return rc;
    if (int rc = codec::CheckLoadTarget(image, frame.width, frame.height, frame.imageBits))
        return rc;

    std::memset(image.palette, 0, sizeof(RgbQuad) * static_cast<size_t>(image.paletteSize));
    if (frame.colours) {
        const int count = frame.colours->ColorCount;
        for (int i = 0; i < count && i < image.paletteSize; ++i) {
            const GifColorType& c = frame.colours->Colors[i];
            image.palette[i] = RgbQuad{c.Blue, c.Green, c.Red, 0};
        }
    } else {
        SetGreyRamp(image);  // no colour table at all: show the indices as grey levels
    }
    if (frame.transparent >= 0 && frame.transparent < image.paletteSize)
        image.palette[frame.transparent] = RgbQuad{255, 255, 255, 0};
    if (HasGreyRamp(image))
        image.imageFlags |= kImageFlagGrey;
    else
        image.imageFlags &= ~kImageFlagGrey;
    image.header->biXPelsPerMeter = 0;
    image.header->biYPelsPerMeter = 0;

    const int width = frame.width, height = frame.height;
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    // Interlaced rows arrive in four passes: every 8th from 0, every 8th from 4, every 4th
    // from 2, every 2nd from 1.
    static const int kStart[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    const int passes = frame.interlaced ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = frame.interlaced ? kStart[pass] : 0;
        const int step = frame.interlaced ? kStep[pass] : 1;
        for (int y = start; y < height; y += step) {
            if (DGifGetLine(session.gif, line.data(), width) == GIF_ERROR) return kImgCorruptFile;
            uint8_t* row = RowPointer(image, static_cast<uint32_t>(y));
            if (frame.imageBits == 8) {
                std::memcpy(row, line.data(), static_cast<size_t>(width));
            } else {
                std::memset(row, 0, image.rowBytes);
                for (int x = 0; x < width; ++x)
                    if (line[x] & 1) row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
            }
        }
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
