#include "platform/printer.h"

#include <cups/cups.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace vellumo::platform {

namespace {

struct KnownPaper {
    PaperSize paper;
    const char* pwgPrefix;  // PWG self-describing name up to its size part
    const char* ppdName;    // the name PPD files and older clients use
    int widthHmm;
    int lengthHmm;
};

constexpr KnownPaper kPapers[] = {
    {PaperSize::Letter, "na_letter_", "letter", 21590, 27940},
    {PaperSize::Legal, "na_legal_", "legal", 21590, 35560},
    {PaperSize::A3, "iso_a3_", "a3", 29700, 42000},
    {PaperSize::A4, "iso_a4_", "a4", 21000, 29700},
};

constexpr int kToleranceHmm = 200;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

PaperSize PaperFromMedia(const std::string& media, int widthHmm, int lengthHmm) {
    const std::string name = Lower(media);
    for (const KnownPaper& p : kPapers) {
        if (name.rfind(p.pwgPrefix, 0) == 0 || name == p.ppdName) return p.paper;
    }
    if (widthHmm > 0 && lengthHmm > 0) {
        for (const KnownPaper& p : kPapers) {
            if (std::abs(widthHmm - p.widthHmm) <= kToleranceHmm &&
                std::abs(lengthHmm - p.lengthHmm) <= kToleranceHmm)
                return p.paper;
        }
    }
    return PaperSize::Other;
}

PrinterInfo QueryDefaultPrinter() {
    PrinterInfo info;
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    cups_dest_t* dest = cupsGetDest(nullptr, nullptr, count, dests);
    if (dest) {
        info.found = true;
        info.name = dest->name;
        if (dest->instance) info.name += std::string("/") + dest->instance;
        int width = 0;
        int length = 0;
        if (const char* media = cupsGetOption("media", dest->num_options, dest->options))
            info.media = media;
        // Without a "media" option the destination's own default (from its PPD or its IPP
        // media-default) decides; it also gives the size of a media with a vendor name.
        if (cups_dinfo_t* dinfo = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
            cups_size_t size{};
            if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, dinfo, 0, &size)) {
                if (info.media.empty()) info.media = size.media;
                if (info.media == size.media) {
                    width = size.width;
                    length = size.length;
                }
            }
            cupsFreeDestInfo(dinfo);
        }
        info.paper = PaperFromMedia(info.media, width, length);
    }
    cupsFreeDests(count, dests);
    return info;
}

}  // namespace vellumo::platform
