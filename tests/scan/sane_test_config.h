// The SANE configuration of a scan test program: the test back end only (res/sane/test.conf),
// in a folder of the program's own. SANE reads the folder it finds at its first start for the
// whole process, so tests that need other back ends write their configuration into this one.
#pragma once

#include <string>

namespace scantest {

// The folder.
std::string SaneConfigDir();

// Makes dll.conf list other back ends until the object goes (then the test back end again).
class SaneBackendsInUse {
public:
    explicit SaneBackendsInUse(const std::string& dllConf);
    ~SaneBackendsInUse();
    SaneBackendsInUse(const SaneBackendsInUse&) = delete;
    SaneBackendsInUse& operator=(const SaneBackendsInUse&) = delete;
};

}  // namespace scantest
