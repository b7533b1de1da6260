// Process-wide preparation of the recognition library, done once before the first engine:
// its diagnostic chatter is kept off standard error, and every thread that runs an engine runs
// it alone, without a pool of helper threads of its own.
#pragma once

namespace vellumo::ocr {

// Safe to call from any thread, any number of times.
void PrepareEngineLibrary();

// Called on each thread that runs an engine: its parallel regions then run on that thread
// alone, which is what OMP_THREAD_LIMIT=1 achieves for a whole process. One engine per worker
// thread is faster than engines sharing threads that wait for each other.
void RunEnginesSingleThreaded();

}  // namespace vellumo::ocr
