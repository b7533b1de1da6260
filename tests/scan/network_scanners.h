// Network scanners for the scan tests, started and stopped by the tests themselves on
// 127.0.0.1: the eSCL test scanner (escl_test_scanner.py) reached through sane-airscan or SANE's
// escl back end, and saned serving the SANE test back end, reached through SANE's net back end.
// Each comes with a SANE configuration folder of its own that loads only the back end under test,
// with network discovery off.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "sane_test_config.h"
#include "support/test_support.h"

namespace scantest {

struct EsclScannerSetup {
    int sheets = 3;         // in the feeder
    int jamAfter = -1;      // the feeder jams after this many pages of a job
    int vanishAfter = -1;   // the scanner goes away when the page after this many is asked for
    double pageDelay = 0;   // seconds before each page
    bool noPlaten = false;  // a sheet-fed scanner
    std::string formats = "image/jpeg,image/png";
};

class EsclTestScanner {
public:
    explicit EsclTestScanner(const EsclScannerSetup& setup = {});
    ~EsclTestScanner();
    EsclTestScanner(const EsclTestScanner&) = delete;
    EsclTestScanner& operator=(const EsclTestScanner&) = delete;

    bool running() const { return port_ > 0; }
    int port() const { return port_; }
    // What the scanner saw, one event per line (see escl_test_scanner.py).
    std::vector<std::string> record() const;
    // The record's lines that start with `kind` ("job", "page", "delete" ...).
    std::vector<std::string> events(const std::string& kind) const;
    // A field of a job line ("source", "mode", "width" ...).
    static std::string Field(const std::string& jobLine, const std::string& name);

private:
    testsupport::TempDir dir_;
    pid_t pid_ = -1;
    int port_ = 0;
};

enum class EsclBackend { Airscan, Escl };
const char* BackendName(EsclBackend backend);

// The test program's SANE configuration with the one back end, pointed at the scanner, until the
// object goes. Children started meanwhile (vellumo-cli) read it too.
class EsclSaneConfig {
public:
    EsclSaneConfig(EsclBackend backend, const EsclTestScanner& scanner);
    // The SANE device name of the scanner through this back end.
    const std::string& deviceName() const { return device_; }

private:
    SaneBackendsInUse backends_;
    std::string device_;
};

// saned on 127.0.0.1 serving the SANE test back end (res/sane/test.conf), and the net back end's
// configuration pointing at it. The net back end always connects to the SANE port (6566), so
// the test process first moves into a network namespace of its own, whose loopback nobody else
// uses; where it cannot, the port must be free on the machine.
class SanedTestServer {
public:
    SanedTestServer();
    ~SanedTestServer();
    SanedTestServer(const SanedTestServer&) = delete;
    SanedTestServer& operator=(const SanedTestServer&) = delete;

    // Empty when saned runs; else why it could not be started.
    const std::string& problem() const { return problem_; }
    // Points the test program's SANE configuration at saned (the net back end) until the
    // server goes.
    void UseClientConfig();
    // saned goes away: the daemon and every connection it serves are killed.
    void Kill();
    std::string log() const;

private:
    testsupport::TempDir server_;
    std::unique_ptr<SaneBackendsInUse> client_;
    pid_t pid_ = -1;
    std::string problem_;
};

}  // namespace scantest
