#include "pdf/bilevel_image.h"

#include "pdf/g4_encoder.h"
#include "pdf/image_embed.h"
#include "pdf/jbig2_encoder.h"

namespace vellumo::pdf {

bool ParseBilevelCoding(const std::string& text, BilevelCoding& coding) {
    if (text == "auto")
        coding = BilevelCoding::Auto;
    else if (text == "jbig2")
        coding = BilevelCoding::Jbig2;
    else if (text == "g4")
        coding = BilevelCoding::G4;
    else
        return false;
    return true;
}

class BilevelImageWriter::G4Buffer {
public:
    explicit G4Buffer(int width)
        : encoder(width,
                  [this](const uint8_t* d, size_t n) { data.insert(data.end(), d, d + n); }) {}
    std::vector<uint8_t> data;
    G4Encoder encoder;
};

BilevelImageWriter::BilevelImageWriter(int width, int height, BilevelCoding coding)
    : width_(width), height_(height), coding_(coding) {
    if (coding_ != BilevelCoding::G4) jbig2_ = std::make_unique<Jbig2Encoder>(width, height);
    if (coding_ != BilevelCoding::Jbig2) g4_ = std::make_unique<G4Buffer>(width);
}

BilevelImageWriter::~BilevelImageWriter() = default;

void BilevelImageWriter::offerOriginal(uint64_t bytes, bool isG4,
                                       std::function<bool(PdfWriter&, int)> write,
                                       const std::string& name) {
    // Only the automatic choice keeps an original of another coding; a G4 original stands in
    // for the G4 this writer would make.
    if (coding_ == BilevelCoding::Jbig2 || (coding_ == BilevelCoding::G4 && !isG4)) return;
    originalBytes_ = bytes;
    writeOriginal_ = std::move(write);
    originalName_ = name;
    if (isG4) g4_.reset();
}

void BilevelImageWriter::addRow(const uint8_t* row) {
    if (jbig2_) jbig2_->encodeRow(row);
    if (g4_) g4_->encoder.encodeRow(row);
}

bool BilevelImageWriter::write(PdfWriter& writer, int object, const std::string& colourSpace,
                               std::string& coding) {
    if (jbig2_) jbig2Data_ = jbig2_->finish();
    if (g4_) g4_->encoder.finish();
    enum { kJbig2, kG4, kOriginal } best = kOriginal;
    uint64_t bestBytes = UINT64_MAX;
    if (writeOriginal_) bestBytes = originalBytes_;
    if (g4_ && g4_->data.size() < bestBytes) best = kG4, bestBytes = g4_->data.size();
    if (jbig2_ && jbig2Data_.size() < bestBytes) best = kJbig2, bestBytes = jbig2Data_.size();
    if (best == kOriginal) {
        coding = originalName_;
        return writeOriginal_(writer, object);
    }
    const std::string size =
        "/Width " + std::to_string(width_) + " /Height " + std::to_string(height_);
    const std::string space = colourSpace.empty() ? "/DeviceGray" : colourSpace;
    if (best == kJbig2) {
        // The filter gives 0 for the coded 1s (black), so entry 0 of a colour table is the
        // foreground, as with G4.
        writer.beginStream(object, "/Type /XObject /Subtype /Image " + size + " /ColorSpace " +
                                       space + " /BitsPerComponent 1 /Filter /JBIG2Decode");
        writer.write(jbig2Data_.data(), jbig2Data_.size());
        coding = "JBIG2";
    } else {
        std::string dict = G4Dictionary(width_, height_, false);
        if (!colourSpace.empty()) {
            const std::string grey = "/ColorSpace /DeviceGray";
            dict.replace(dict.find(grey), grey.size(), "/ColorSpace " + colourSpace);
        }
        writer.beginStream(object, dict);
        writer.write(g4_->data.data(), g4_->data.size());
        coding = "G4";
    }
    writer.endStream();
    return !writer.failed();
}

}  // namespace vellumo::pdf
