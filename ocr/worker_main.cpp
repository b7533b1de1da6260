// vellumo-ocr-worker: reads pages for the program in a process of its own. Some pictures (fine
// regular textures, as from a halftone screen) keep the engine's layout analysis busy for an hour,
// beyond the reach of its own cancel, and a fault in the engine would end whatever process it is
// in; here the program can end the process instead, and lose nothing but that page's text.
// Started by RecognitionWorker with "--parent PID"; talks on descriptor 3 (worker_protocol.h)
// and ends when that closes or the program dies.
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "ocr/engine.h"
#include "ocr/worker_protocol.h"
#include "platform/memory_policy.h"

using namespace vellumo;

int main(int argc, char** argv) {
    if (argc != 3 || std::strcmp(argv[1], "--parent") != 0) {
        static const char usage[] =
            "vellumo-ocr-worker is started by Vellumo to recognise text; it is not run by hand.\n";
        (void)!::write(2, usage, sizeof(usage) - 1);
        return 2;
    }
    // Ends with the program even when the program is killed; a program that died before this
    // line is no longer the parent.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (std::to_string(::getppid()) != argv[2]) return 1;

    platform::ReturnLargeBlocksToTheSystem();
    ocr::Engine engine;
    std::string message;
    while (ocr::ReadMessage(ocr::kWorkerChannelFd, message)) {
        ocr::WorkerRequest request;
        if (!ocr::DecodeRequest(message, request)) return 3;
        ocr::RecognitionResult result = engine.load(request.languages);
        if (result.status == ocr::RecognitionStatus::Ok) result = engine.recognise(request.page);
        if (!ocr::WriteMessage(ocr::kWorkerChannelFd, ocr::EncodeResult(result))) return 4;
    }
    return 0;
}
