// The processor's features as the imaging library sees them, against the kernel's own list,
// and the switches the tests and benchmarks use to run every kernel.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "imaging/kernels.h"

using namespace vellumo::imaging;

namespace {

std::set<std::string> CpuinfoFlags() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("flags", 0) != 0) continue;
        std::istringstream words(line.substr(line.find(':') + 1));
        std::set<std::string> flags;
        for (std::string word; words >> word;) flags.insert(word);
        return flags;
    }
    return {};
}

TEST(CpuFeatures, AgreeWithTheKernelsList) {
    const std::set<std::string> flags = CpuinfoFlags();
    if (flags.empty()) GTEST_SKIP() << "no /proc/cpuinfo";
    EXPECT_EQ(ProcessorHas(CpuFeature::Ssse3), flags.count("ssse3") == 1);
    EXPECT_EQ(ProcessorHas(CpuFeature::Avx2), flags.count("avx2") == 1);
    EXPECT_EQ(ProcessorHas(CpuFeature::Bmi2), flags.count("bmi2") == 1);
    EXPECT_EQ(ProcessorHas(CpuFeature::Avx512),
              flags.count("avx512f") == 1 && flags.count("avx512bw") == 1);
}

TEST(CpuFeatures, SwitchesTurnTheKernelsOffAndOn) {
    const CpuFeature all[] = {CpuFeature::Ssse3, CpuFeature::Avx2, CpuFeature::Avx512,
                              CpuFeature::Bmi2};
    SetCpuFeatureEnabled(CpuFeature::Avx512, false);
    for (CpuFeature feature : all)
        EXPECT_EQ(UseCpuFeature(feature), feature != CpuFeature::Avx512 && ProcessorHas(feature));
    SetCpuFeaturesEnabled(false);
    for (CpuFeature feature : all) EXPECT_FALSE(UseCpuFeature(feature));
    SetCpuFeaturesEnabled(true);
    for (CpuFeature feature : all) EXPECT_EQ(UseCpuFeature(feature), ProcessorHas(feature));
}

}  // namespace
