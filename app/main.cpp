// Vellumo: scan pages or load image files, correct them, save them as one PDF or mail it.
#include "app/vellumo_app.h"
#include "platform/memory_policy.h"

int main(int argc, char** argv) {
    vellumo::platform::ReturnLargeBlocksToTheSystem();
    vellumo::app::CVellumoApp app;
    return app.run(argc, argv);
}
