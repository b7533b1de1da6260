// Composing a mail with a large attachment: throughput, and the peak memory the process
// needed, which stays flat because the attachment is streamed from its file.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "mail/mime_message.h"
#include "platform/temp_file.h"

using namespace vellumo::platform;
using namespace vellumo::mail;

namespace {

long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::string MakeAttachment(size_t megabytes) {
    const std::string path = CreateTempFile("VWbench");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::mt19937 rng(1);
    std::vector<char> block(1 << 20);
    for (size_t i = 0; i < megabytes; ++i) {
        for (auto& c : block) c = (char)(rng() & 0xFF);
        std::fwrite(block.data(), 1, block.size(), f);
    }
    std::fclose(f);
    return path;
}

void BM_ComposeWithAttachment(benchmark::State& state) {
    const size_t megabytes = (size_t)state.range(0);
    const std::string attachment = MakeAttachment(megabytes);
    const std::string output = CreateTempFile("VWbench");
    const long before = PeakRssKb();
    for (auto _ : state) {
        MimeMessage message;
        message.setHeader("From", "Ann <ann@example.com>");
        message.setHeader("To", "bob@example.net");
        message.setHeader("Subject", "Gescannte Seiten");
        message.setOption(kMimeOptionDateAndMessageId, 1);
        message.setBody("Anbei die Seiten.\n");
        message.attachFile(attachment);
        if (!message.writeToFile(output)) state.SkipWithError("write failed");
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)(megabytes << 20));
    state.counters["peak_rss_growth_kb"] = (double)(PeakRssKb() - before);
    ::unlink(attachment.c_str());
    ::unlink(output.c_str());
}

}  // namespace

BENCHMARK(BM_ComposeWithAttachment)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);
