#include "scan/page_transfer.h"

#include <cstdio>

#include "imaging/autocrop.h"
#include "imaging/codecs.h"
#include "imaging/dib.h"
#include "imaging/transform.h"
#include "platform/log.h"
#include "platform/temp_file.h"

namespace vellumo::scan {

using namespace vellumo::platform;
using namespace vellumo::imaging;

namespace {

constexpr int kTiffLzw = 1;
// The result when no page file name could be made at all.
constexpr int kNoPageFile = -1;

void LogArea(const char* format, const ImageBuffer& image) {
    WriteLogF(format, static_cast<int>(image.areaLeft), static_cast<int>(image.areaTop),
              static_cast<int>(image.areaRight), static_cast<int>(image.areaBottom));
}

std::string Format(const char* format, int value) {
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

TransferSettings MakeTransferSettings(int invert, int autoCrop) {
    return TransferSettings{invert == 1, autoCrop == 1};
}

bool CorrectBilevelPalette(ImageBuffer& image) {
    if (BitsPerPixel(image) != 1 || !image.palette || image.paletteSize < 2) return false;
    if (image.palette[0].rgbBlue != 255) return false;
    image.palette[0].rgbBlue = image.palette[0].rgbGreen = image.palette[0].rgbRed = 0;
    image.palette[1].rgbBlue = image.palette[1].rgbGreen = image.palette[1].rgbRed = 255;
    return true;
}

TransferResult ProcessScannedImage(const std::vector<uint8_t>* dib, ImageBuffer& workingImage,
                                   int pageNumber, const TransferSettings& settings,
                                   const TransferHooks& hooks) {
    TransferResult result;
    // A page from an earlier command that was not released must not leak.
    FreeImage(workingImage);
    const int converted =
        dib && !dib->empty() ? DibToImage(dib->data(), dib->size(), workingImage) : kNoPageFile;
    WriteLog("Convert to image done\n");
    if (converted != 0) {
        const std::string text = Format("Error %d while converting image", converted);
        if (hooks.showMessage) hooks.showMessage(text);
        WriteLog(text + "\n");
        FreeImage(workingImage);
        result.outcome = TransferOutcome::NotConverted;
        result.code = converted;
        return result;
    }
    LogArea("Dimensions of scanned image: %d, %d, %d, %d\n", workingImage);

    if (CorrectBilevelPalette(workingImage)) WriteLog("Correcting unexpected palette\n");
    if (settings.invert) {
        InvertImage(workingImage, workingImage);
        WriteLog("Inverted scan result\n");
    }
    if (settings.autoCrop) AutoCropImage(workingImage);

    if (hooks.keep && !hooks.keep(workingImage)) {
        FreeImage(workingImage);
        result.outcome = TransferOutcome::Discarded;
        return result;
    }
    LogArea("Dimensions of scanned image now: %d, %d, %d, %d\n", workingImage);
    if (hooks.beforeSave) hooks.beforeSave(workingImage);

    const std::string path = hooks.makePagePath ? hooks.makePagePath() : MakeScanPagePath();
    const int saved = path.empty() ? kNoPageFile : SaveTiff(path.c_str(), workingImage, kTiffLzw);
    WriteLogF("Saved image %d to %s, result = %d\n", pageNumber, path.c_str(), saved);
    FreeImage(workingImage);
    result.code = saved;
    if (saved != 0) {
        // A page must never point at a missing or half-written file.
        if (!path.empty()) std::remove(path.c_str());
        // Without a writable temporary folder no page can be kept: say so, not just a number.
        const std::string folderProblem = path.empty() ? TempFolderProblem() : std::string();
        const std::string text =
            folderProblem.empty() ? Format("Error %d while saving image", saved) : folderProblem;
        if (hooks.showMessage) hooks.showMessage(text);
        WriteLog(text + "\n");
        result.outcome = TransferOutcome::SaveFailed;
        return result;
    }
    result.outcome = TransferOutcome::Kept;
    result.path = path;
    return result;
}

std::string MakeScanPagePath() {
    // The name is reserved by a file of its own: no other process can take it before the page
    // is written over it, and no second file is left to tidy away.
    return CreateTempFile("VW", ".tmp.TIF");
}

}  // namespace vellumo::scan
