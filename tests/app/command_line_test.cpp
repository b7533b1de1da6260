#include <gtest/gtest.h>

#include "app/vellumo_app.h"

using namespace vellumo::app;

namespace {

TEST(CommandLine, GOIsACaseSensitiveSubstringOfTheArguments) {
    EXPECT_TRUE(CVellumoApp::commandLineHasGo({"vellumo", "/GO"}));
    EXPECT_TRUE(CVellumoApp::commandLineHasGo({"vellumo", "-a", "x/GOy"}));
    EXPECT_FALSE(CVellumoApp::commandLineHasGo({"vellumo", "/go"}));
    EXPECT_FALSE(CVellumoApp::commandLineHasGo({"vellumo", "/Go"}));
    EXPECT_FALSE(CVellumoApp::commandLineHasGo({"vellumo"}));
    EXPECT_FALSE(CVellumoApp::commandLineHasGo({}));
    // The program's own path is not part of the command line it looks at.
    EXPECT_FALSE(CVellumoApp::commandLineHasGo({"/GO/vellumo", "scan"}));
    // Arguments are joined by single spaces, so the switch cannot straddle two of them.
    EXPECT_FALSE(CVellumoApp::commandLineHasGo({"vellumo", "/G", "O"}));
}

}  // namespace
