// How the programs ask the C library for memory. A page's pixels are megabytes; freed on one
// thread, they would stay with that thread's heap and the next page would take fresh memory
// beside them, so that a document's peak grew by a page for every thread that had held one.
#pragma once

namespace vellumo::platform {

// Makes every large block (a page's pixels, a codec's buffers) come from the system and go back
// to it when freed. Call it first thing in main, before any thread starts.
void ReturnLargeBlocksToTheSystem();

}  // namespace vellumo::platform
