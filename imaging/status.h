// Result codes of the imaging operations: 0 is success, every failure a negative number.
#pragma once

namespace vellumo::imaging {

enum ImagingStatus : int {
    kImgOk = 0,
    kImgEmpty = -1,              // width or height zero, or an empty area
    kImgShortWrite = -3,         // a file was not written completely
    kImgBadArgument = -5,        // a numeric argument out of its range
    kImgUnsupportedOption = -9,  // compression or option not supported for this format or depth
    kImgCannotOpen = -10,        // the file cannot be created or opened
    kImgNoMemory = -14,          // out of memory (or an image larger than the program accepts)
    kImgBadDepth = -26,          // bits per pixel not supported, or source and target differ
    kImgNotBitmap = -68,         // the handle is not a bitmap
    kImgTooLarge = -73,          // image too large for the format
    // Format-specific failures.
    kImgNotThisFormat = -100,    // inspect: the file is not of this format
    kImgCorruptFile = -101,      // the file is damaged or truncated
    kImgUnsupportedFile = -102,  // a valid file using a feature the decoder does not handle
    kImgEncodeFailed = -103,     // the codec library refused to encode
};

}  // namespace vellumo::imaging
