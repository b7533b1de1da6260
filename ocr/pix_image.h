// The engine's picture of a page: an ImageBuffer (bottom-up rows, colour table) turned into a
// Leptonica Pix (top-down rows, black is 1 in bilevel images) with its resolution.
#pragma once

#include "imaging/image_buffer.h"

struct Pix;

namespace vellumo::ocr {

// Owns a Pix and destroys it.
class PixHandle {
public:
    PixHandle() = default;
    explicit PixHandle(Pix* pix) : pix_(pix) {}
    ~PixHandle();
    PixHandle(PixHandle&& other) noexcept : pix_(other.pix_) { other.pix_ = nullptr; }
    PixHandle& operator=(PixHandle&& other) noexcept;
    PixHandle(const PixHandle&) = delete;
    PixHandle& operator=(const PixHandle&) = delete;
    Pix* get() const { return pix_; }
    explicit operator bool() const { return pix_ != nullptr; }

private:
    Pix* pix_ = nullptr;
};

// 1-bit images become 1-bit Pix, grey 8-bit images 8-bit Pix, images with a colour table or 24
// and 32 bits per pixel 32-bit RGB Pix: the same pixels the engine would read from the file.
// Null for other depths or when memory runs out.
PixHandle PixFromImage(const imaging::ImageBuffer& image);

}  // namespace vellumo::ocr
