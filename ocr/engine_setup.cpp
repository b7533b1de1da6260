#include "ocr/engine_setup.h"

#include <omp.h>
#include <tesseract/baseapi.h>

#include <cstdlib>
#include <mutex>

namespace vellumo::ocr {

void PrepareEngineLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Processes started from here inherit the limit; this process has read its OpenMP
        // settings long ago, hence RunEnginesSingleThreaded.
        setenv("OMP_THREAD_LIMIT", "1", 0);
        // The library's messages ("Estimating resolution as ...") would otherwise go to
        // standard error; failures are reported through our own statuses and the log.
        tesseract::TessBaseAPI api;
        api.SetVariable("debug_file", "/dev/null");
    });
}

void RunEnginesSingleThreaded() {
    // The engine asks for its thread counts explicitly, which overrides omp_set_num_threads;
    // no active parallel levels means every region runs on the calling thread.
    omp_set_max_active_levels(0);
}

}  // namespace vellumo::ocr
