#include "scan/log_capability.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "scan_test_support.h"

using namespace vellumo::scan;

using namespace scantest;

TEST(LogCapability, OneLinePerContainerKind) {
    LogCapture log;
    ScannerComponent c;
    OpenTestDevice(c);
    c.Capability(kCapUnits);
    LogCapability(c, "Before");
    c.Capability(kCapPixelType);
    LogCapability(c, "Before");
    c.Capability(kCapXResolution);
    LogCapability(c, "After");
    c.Capability(kCapTransferCount);
    LogCapability(c, "After");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "Before: 0",
                               "Before: numItems 3, default 1, value 1",
                               "After: value 50, default 50, min 1, max 1200, step 1",
                               "After: -1",
                           }));
}

TEST(LogCapability, AnUnsupportedCapabilityRaisesTheComponentError) {
    LogCapture log;
    ScannerComponent c;
    OpenTestDevice(c);
    c.Capability(kCapBrightness);
    EXPECT_THROW(LogCapability(c, "Before"), ScannerError);
    EXPECT_TRUE(log.lines().empty());
}

TEST(LogCapability, ValuesTruncatedTowardZero) {
    EXPECT_EQ(TruncateCapValue(2.9), 2);
    EXPECT_EQ(TruncateCapValue(-2.9), -2);
    EXPECT_EQ(TruncateCapValue(-0.5), 0);
    EXPECT_EQ(TruncateCapValue(1e12), INT_MAX);
    EXPECT_EQ(TruncateCapValue(-1e12), INT_MIN);
    EXPECT_EQ(TruncateCapValue(std::nan("")), 0);
}
