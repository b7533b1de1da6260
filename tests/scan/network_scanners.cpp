#include "network_scanners.h"

#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace scantest {

using namespace testsupport;

namespace {

constexpr int kSanePort = 6566;

// Starts a program with its output in `logFile`, in a process group of its own.
pid_t Spawn(const std::vector<std::string>& args, const std::string& logFile,
            const std::vector<std::pair<std::string, std::string>>& env = {}) {
    std::vector<std::string> copy = args;
    std::vector<char*> argv;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        // A test that dies (a crash, ctest's time limit) takes its server with it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (log >= 0) {
            dup2(log, 1);
            dup2(log, 2);
        }
        for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// Ends a process group started by Spawn: politely, then for good.
void Stop(pid_t pid) {
    if (pid <= 0) return;
    kill(-pid, SIGTERM);
    for (int i = 0; i < 150; ++i) {
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            kill(-pid, SIGKILL);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(-pid, SIGKILL);
    int status;
    waitpid(pid, &status, 0);
}

bool PortFree(int port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return false;
    int one = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool free = bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(s);
    return free;
}

bool Listening(int port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(s);
    return ok;
}

// Moves this process into a network namespace of its own with its loopback up. As root a plain
// network namespace; otherwise inside a user namespace, where the kernel allows one.
bool PrivateNetwork() {
    if (unshare(CLONE_NEWNET) != 0) {
        const uid_t uid = getuid();
        const gid_t gid = getgid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) return false;
        writeFile("/proc/self/setgroups", "deny");
        writeFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1\n");
        writeFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1\n");
    }
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0) return false;
    ifreq request{};
    std::snprintf(request.ifr_name, IFNAMSIZ, "lo");
    bool up = ioctl(s, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags |= IFF_UP | IFF_RUNNING;
    up = up && ioctl(s, SIOCSIFFLAGS, &request) == 0;
    close(s);
    return up;
}

}  // namespace

// ---- eSCL ------------------------------------------------------------------------------------

EsclTestScanner::EsclTestScanner(const EsclScannerSetup& setup) {
    const std::string portFile = dir_.file("port");
    std::vector<std::string> args = {
        "/usr/bin/python3", sourceDir() + "/tests/scan/escl_test_scanner.py",
        "--port-file",      portFile,
        "--record",         dir_.file("record"),
        "--sheets",         std::to_string(setup.sheets),
        "--jam-after",      std::to_string(setup.jamAfter),
        "--vanish-after",   std::to_string(setup.vanishAfter),
        "--page-delay",     std::to_string(setup.pageDelay),
        "--formats",        setup.formats};
    if (setup.noPlaten) args.push_back("--no-platen");
    writeFile(dir_.file("record"), "");
    pid_ = Spawn(args, dir_.file("server.log"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (fileExists(portFile)) {
            port_ = std::atoi(readFile(portFile).c_str());
            break;
        }
        int status;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

EsclTestScanner::~EsclTestScanner() {
    Stop(pid_);
}

std::vector<std::string> EsclTestScanner::record() const {
    std::vector<std::string> lines;
    std::istringstream in(readFile(dir_.file("record")));
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

std::vector<std::string> EsclTestScanner::events(const std::string& kind) const {
    std::vector<std::string> out;
    for (const std::string& line : record())
        if (line.rfind(kind + " ", 0) == 0 || line == kind) out.push_back(line);
    return out;
}

std::string EsclTestScanner::Field(const std::string& jobLine, const std::string& name) {
    const std::string key = " " + name + "=";
    const size_t at = jobLine.find(key);
    if (at == std::string::npos) return {};
    const size_t start = at + key.size();
    return jobLine.substr(start, jobLine.find(' ', start) - start);
}

const char* BackendName(EsclBackend backend) {
    return backend == EsclBackend::Airscan ? "airscan" : "escl";
}

EsclSaneConfig::EsclSaneConfig(EsclBackend backend, const EsclTestScanner& scanner)
    : backends_(std::string(BackendName(backend)) + "\n") {
    const std::string url = "http://127.0.0.1:" + std::to_string(scanner.port());
    const std::string dir = SaneConfigDir();
    if (backend == EsclBackend::Airscan) {
        writeFile(dir + "/airscan.conf", "[devices]\n\"Vellumo Test Scanner\" = " + url +
                                             "/eSCL/, eSCL\n"
                                             "[options]\ndiscovery = disable\n");
        device_ = "airscan:e0:Vellumo Test Scanner";
    } else {
        writeFile(dir + "/escl.conf", "device " + url + " \"Vellumo Test Scanner\"\n");
        device_ = "escl:" + url;
    }
}

// ---- saned -----------------------------------------------------------------------------------

SanedTestServer::SanedTestServer() {
    if (!PrivateNetwork() && !PortFree(kSanePort)) {
        problem_ = "no network namespace of its own, and the SANE port is taken";
        return;
    }
    writeFile(server_.file("dll.conf"), "test\n");
    writeFile(server_.file("test.conf"), readFile(sourceDir() + "/res/sane/test.conf"));
    writeFile(server_.file("saned.conf"), "127.0.0.1\nlocalhost\n");
    pid_ = Spawn({"/usr/sbin/saned", "-l", "-e", "-d", "2", "-b", "127.0.0.1", "-p",
                  std::to_string(kSanePort)},
                 server_.file("saned.log"), {{"SANE_CONFIG_DIR", server_.path()}});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!Listening(kSanePort)) {
        int status;
        if (waitpid(pid_, &status, WNOHANG) == pid_ ||
            std::chrono::steady_clock::now() > deadline) {
            problem_ = "saned did not start: " + readFile(server_.file("saned.log"));
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

SanedTestServer::~SanedTestServer() {
    client_.reset();
    Stop(pid_);
}

void SanedTestServer::UseClientConfig() {
    client_ = std::make_unique<SaneBackendsInUse>("net\n");
    writeFile(SaneConfigDir() + "/net.conf", "connect_timeout = 5\n127.0.0.1\n");
}

void SanedTestServer::Kill() {
    if (pid_ <= 0) return;
    kill(-pid_, SIGKILL);
    int status;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

std::string SanedTestServer::log() const {
    return readFile(server_.file("saned.log"));
}

}  // namespace scantest
