// vellumo-cli pdf: the pages of "SAVE AS PDF" from files on the command line.
#include <cctype>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "cli/cleanup_options.h"
#include "cli/commands.h"
#include "cli/ocr_pages.h"
#include "cli/option_parser.h"
#include "cli/progress.h"
#include "pdf/page_import.h"
#include "pdf/pdf_builder.h"

namespace vellumo::cli {

using namespace vellumo::pdf;

namespace {

int Usage(const char* problem) {
    std::fprintf(stderr,
                 "vellumo-cli pdf: %s\nUsage: vellumo-cli pdf [--compress QUALITY] "
                 "[--bilevel=auto|jbig2|g4] [--password PW] %s [--ocr[=LANGS]|--no-ocr] "
                 "-o OUT.pdf FILE...\n",
                 problem, vellumo::cli::kCleanupOptionsUsage);
    return 2;
}

// The bytes the pages of each kind take, with the codings used, for the terminal.
void PrintPageBytes(const PdfBuildResult& result) {
    struct Kind {
        int pages = 0;
        uint64_t bytes = 0;
        std::map<std::string, int> codings;
    };
    std::map<std::string, Kind> kinds;
    for (const vellumo::pdf::WrittenPage& page : result.pages) {
        Kind& k = kinds[page.kind];
        ++k.pages;
        k.bytes += page.bytes;
        ++k.codings[page.coding];
    }
    std::fprintf(stderr, "Bytes per kind of page:\n");
    for (const char* name : {"bilevel", "grey", "colour"}) {
        const auto it = kinds.find(name);
        if (it == kinds.end()) continue;
        std::string codings;
        for (const auto& [coding, count] : it->second.codings)
            codings += (codings.empty() ? "" : ", ") + coding + " " + std::to_string(count);
        std::fprintf(stderr, "  %-8s %5d page%s %12llu bytes  (%s)\n", name, it->second.pages,
                     it->second.pages == 1 ? " " : "s",
                     static_cast<unsigned long long>(it->second.bytes), codings.c_str());
    }
    std::fprintf(stderr, "  %-8s %5zu page%s %12llu bytes\n", "PDF file", result.pages.size(),
                 result.pages.size() == 1 ? " " : "s",
                 static_cast<unsigned long long>(result.fileBytes));
}

enum : int { kOutput = 'o', kCompress = kFirstLongOnlyOption, kBilevel, kPassword };

const std::vector<CommandOption> kPdfOptions = {
    {kOutput, "output", 'o', OptionValue::Required, "-o needs a file name"},
    {kCompress, "compress", 0, OptionValue::Required, "--compress needs a quality"},
    {kBilevel, "bilevel", 0, OptionValue::Required, "--bilevel needs auto, jbig2 or g4"},
    {kPassword, "password", 0, OptionValue::Required, "--password needs a password"},
};

bool AllDigits(const char* s) {
    if (!*s) return false;
    for (; *s; ++s)
        if (!std::isdigit(static_cast<unsigned char>(*s))) return false;
    return true;
}

void PrintPdfHelp() {
    std::printf(
        "Usage: vellumo-cli pdf [--compress QUALITY] [--bilevel=auto|jbig2|g4] [--password PW]\n"
        "                       %s [--ocr[=LANGS]|--no-ocr]\n"
        "                       -o OUT.pdf FILE...\n\n"
        "Writes one PDF with every page of the files given, in order: image files (TIFF, BMP,\n"
        "JPEG, PCX, GIF, PNG, TGA; every page of a multi-page TIFF) and PDF files, so\n"
        "  vellumo-cli pdf -o all.pdf old.pdf new-scan.tif\n"
        "appends the scan to the pages of old.pdf. Each image page has the size its resolution\n"
        "gives it (150 dpi when the file records none). JPEG files go in unchanged;\n"
        "black-and-white pages, and other pages of two colours, as JBIG2 or CCITT G4, whichever\n"
        "is smaller. PDF pages that are one image keep their image data byte for byte and their\n"
        "size; other PDF pages are drawn at 300 dpi. Text is recognised on the image pages.\n\n"
        "  -o, --output OUT.pdf   the PDF to write; an existing file is replaced only when the\n"
        "                         new one is complete (it may be one of the inputs)\n"
        "  --compress QUALITY     recompress colour and grey pages as JPEG of quality 1..100;\n"
        "                         a page stays as it is where that would not be smaller, and\n"
        "                         a JPEG page is never recompressed at or above its own quality\n"
        "                         (PDF pages that are one image are kept as they are)\n"
        "  --bilevel=CODING       how to code two-colour pages: auto (the smaller; default),\n"
        "                         jbig2 or g4\n"
        "  --password PW          the password of encrypted PDF files among the inputs\n"
        "%s"
        "%s"
        "  -h, --help             this text\n\n"
        "Exit status: 0 when the PDF is written, 1 when it is not (or --ocr was given and the\n"
        "text could not be recognised), 2 for wrong usage.\n",
        vellumo::cli::kCleanupOptionsUsage, vellumo::cli::CleanupOptionsHelp(25).c_str(), kOcrHelp);
}

}  // namespace

int RunPdfCommand(int argc, char** argv) {
    std::string output;
    PdfBuildOptions options;
    options.compress = false;
    std::string password;
    // Files given here are not scans: they are cleaned only as the options ask.
    vellumo::cli::CleanupChoice cleanup;
    OcrRequest ocrRequest;
    const ParsedCommandLine parsed = ParseCommandLine(
        argc, argv, JoinOptions(JoinOptions(kPdfOptions, CleanupOptionTable()), OcrOptionTable()),
        [&](int id, const char* value) -> std::string {
            std::string problem;
            switch (id) {
                case kOutput:
                    output = value;
                    break;
                case kCompress:
                    if (!AllDigits(value)) return "the quality must be a number from 1 to 100";
                    options.compress = true;
                    options.compressionPercent = value;
                    break;
                case kBilevel:
                    if (!vellumo::pdf::ParseBilevelCoding(value, options.bilevel))
                        return "--bilevel must be auto, jbig2 or g4";
                    break;
                case kPassword:
                    password = value;
                    break;
                default:
                    if (!TakeCleanupOption(id, value, cleanup, problem))
                        TakeOcrOption(id, value, ocrRequest, problem);
            }
            return problem;
        });
    if (parsed.outcome == ParseOutcome::Help) {
        PrintPdfHelp();
        return 0;
    }
    if (parsed.outcome == ParseOutcome::Wrong) return Usage(parsed.problem.c_str());
    const std::vector<std::string>& files = parsed.operands;
    if (output.empty()) return Usage("no output file (-o OUT.pdf)");
    if (files.empty()) return Usage("no image files");
    if (!CheckOutputPath(output)) return 1;

    // Every page of every file, in order. A file that cannot be read stays one page, which the
    // builder reports as it reports any unreadable page, before anything is written; an
    // encrypted PDF without its password stops here with a hint.
    std::vector<vellumo::imaging::PageRef> pages;
    for (const std::string& file : files) {
        std::vector<vellumo::imaging::PageRef> filePages;
        std::string reason;
        const vellumo::pdf::ImportStatus status =
            vellumo::pdf::ListPages(file, password, filePages, reason);
        if (status == vellumo::pdf::ImportStatus::NeedsPassword) {
            std::fprintf(stderr, "vellumo-cli: %s\nvellumo-cli: give it with --password\n",
                         vellumo::pdf::DescribeImportFailure(file, status, reason).c_str());
            return 1;
        }
        if (status != vellumo::pdf::ImportStatus::Ok) filePages = {{file, 0}};
        if (!password.empty() && vellumo::pdf::IsPdfFile(file)) options.passwords[file] = password;
        pages.insert(pages.end(), filePages.begin(), filePages.end());
    }

    vellumo::cli::PageCleaner cleaner(cleanup);
    vellumo::cli::CleanedPages cleaned;
    if (!cleaner.active()) {
        cleaned.pages = pages;
        for (const vellumo::imaging::PageRef& page : pages) cleaned.names.push_back(page.path);
    } else if (!vellumo::cli::CleanPages(pages, password, cleaner, cleaned)) {
        return 1;
    }
    if (cleaned.pages.empty()) {
        std::fprintf(stderr, "vellumo-cli: every page is blank; no PDF was written\n");
        return 1;
    }

    // Text is recognised on the pages as they go into the PDF, after any clean-up turned them.
    const bool terminal = ProgressOnTerminal();
    PageRecogniser recogniser(ocrRequest, terminal);
    for (const vellumo::imaging::PageRef& page : cleaned.pages) recogniser.add(page);
    options.pageTexts = recogniser.finish();

    CliPdfListener listener(terminal);
    const PdfBuildResult result = BuildPdf(cleaned.pages, output, options, &listener);
    switch (result.status) {
        case PdfBuildStatus::Finished:
            break;
        case PdfBuildStatus::SetDpiFailed:
            std::fprintf(stderr, "vellumo-cli: could not set the resolution of page %d\n",
                         result.page);
            return 1;
        case PdfBuildStatus::PageUnreadable:
            // The builder has said why, with the file's name.
            std::fprintf(stderr, "vellumo-cli: cannot read page %d: %s\n", result.page,
                         cleaned.names[static_cast<size_t>(result.page - 1)].c_str());
            return 1;
        case PdfBuildStatus::NoTempFolder:
            return 1;  // the builder has said why
        case PdfBuildStatus::AddImageFailed:
            std::fprintf(stderr, "vellumo-cli: cannot add page %d (%s), error %d\n", result.page,
                         cleaned.names[static_cast<size_t>(result.page - 1)].c_str(), result.code);
            return 1;
        case PdfBuildStatus::Cancelled:
            return 1;  // not asked for here: Ctrl+C ends the command by its signal handling
    }
    if (!result.written()) {
        // The builder has shown the message for results 1 to 5.
        if (!DescribeMakePdfResult(result.code, output, result.errorText).failure)
            std::fprintf(stderr, "vellumo-cli: the PDF library returned %d\n", result.code);
        return 1;
    }
    if (terminal) PrintPageBytes(result);
    return recogniser.failed() ? 1 : 0;
}

}  // namespace vellumo::cli
