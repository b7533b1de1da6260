#include "platform/documents.h"

#include <gtest/gtest.h>

#include "platform/log.h"
#include "support/test_support.h"

using namespace vellumo::platform;

namespace {

TEST(Documents, LogFileLivesInTheDocumentsFolder) {
    testsupport::IsolatedHome home;
    const std::string savedPath = logPath;
    EXPECT_EQ(DocumentsFolder(), home.documentsDir());
    InitLogPath();
    EXPECT_EQ(logPath, home.documentsDir() + "/Vellumo_log.mdm");
    logPath = savedPath;
}

}  // namespace
