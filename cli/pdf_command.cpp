// vellumo-cli pdf: the pages of "SAVE AS PDF" from files on the command line.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/progress.h"
#include "pdf/pdf_builder.h"

namespace vellumo::cli {

using namespace vellumo::pdf;

namespace {

int Usage(const char* problem) {
    std::fprintf(
        stderr,
        "vellumo-cli pdf: %s\nUsage: vellumo-cli pdf [--compress QUALITY] -o OUT.pdf FILE...\n",
        problem);
    return 2;
}

bool AllDigits(const char* s) {
    if (!*s) return false;
    for (; *s; ++s)
        if (!std::isdigit(static_cast<unsigned char>(*s))) return false;
    return true;
}

}  // namespace

void PrintPdfHelp() {
    std::printf(
        "Usage: vellumo-cli pdf [--compress QUALITY] -o OUT.pdf FILE...\n\n"
        "Writes one PDF with one page per image file (TIFF, BMP, JPEG, PCX, GIF, PNG, TGA), in\n"
        "the order given. Each page has the size its image's resolution gives it (150 dpi when\n"
        "the file records none). JPEG files go in unchanged, black-and-white pages as CCITT G4.\n\n"
        "  -o, --output OUT.pdf   the PDF to write; an existing file is replaced only when the\n"
        "                         new one is complete\n"
        "  --compress QUALITY     recompress colour and grey pages as JPEG of quality 1..100\n"
        "  -h, --help             this text\n\n"
        "Exit status: 0 when the PDF is written, 1 when it is not, 2 for wrong usage.\n");
}

int RunPdfCommand(int argc, char** argv) {
    std::string output;
    PdfBuildOptions options;
    options.compress = false;
    std::vector<std::string> files;
    bool onlyFiles = false;
    for (int i = 0; i < argc; ++i) {
        const char* a = argv[i];
        if (!onlyFiles && std::strcmp(a, "--") == 0) {
            onlyFiles = true;
        } else if (!onlyFiles && (std::strcmp(a, "-o") == 0 || std::strcmp(a, "--output") == 0)) {
            if (++i >= argc) return Usage("-o needs a file name");
            output = argv[i];
        } else if (!onlyFiles && std::strcmp(a, "--compress") == 0) {
            if (++i >= argc) return Usage("--compress needs a quality");
            if (!AllDigits(argv[i])) return Usage("the quality must be a number from 1 to 100");
            options.compress = true;
            options.compressionPercent = argv[i];
        } else if (!onlyFiles && a[0] == '-' && a[1] != '\0') {
            return Usage((std::string("unknown option ") + a).c_str());
        } else {
            files.push_back(a);
        }
    }
    if (output.empty()) return Usage("no output file (-o OUT.pdf)");
    if (files.empty()) return Usage("no image files");
    if (!CheckOutputPath(output)) return 1;

    CliPdfListener listener(ProgressOnTerminal());
    const PdfBuildResult result = BuildPdf(files, output, options, &listener);
    switch (result.status) {
        case PdfBuildStatus::Finished:
            break;
        case PdfBuildStatus::SetDpiFailed:
            std::fprintf(stderr, "vellumo-cli: could not set the resolution of page %d\n",
                         result.page);
            return 1;
        case PdfBuildStatus::PageUnreadable:
            std::fprintf(stderr, "vellumo-cli: cannot read page %d: %s\n", result.page,
                         files[static_cast<size_t>(result.page - 1)].c_str());
            return 1;
        case PdfBuildStatus::NoTempFolder:
            return 1;  // the builder has said why
        case PdfBuildStatus::AddImageFailed:
            std::fprintf(stderr, "vellumo-cli: cannot add page %d (%s), error %d\n", result.page,
                         files[static_cast<size_t>(result.page - 1)].c_str(), result.code);
            return 1;
    }
    if (!result.written()) {
        // The builder has shown the message for results 1 to 5.
        if (!DescribeMakePdfResult(result.code, output, result.errorText).failure)
            std::fprintf(stderr, "vellumo-cli: the PDF library returned %d\n", result.code);
        return 1;
    }
    return 0;
}

}  // namespace vellumo::cli
