#include "smtp_test_server.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace mailtest {

using namespace testsupport;

std::string ScriptDir() {
    return MAIL_TEST_SCRIPT_DIR;
}

TestSmtpServer::TestSmtpServer(const ServerMode& mode) {
    const std::string portFile = dir_.file("port");
    std::vector<std::string> args = {"/usr/bin/python3", ScriptDir() + "/smtp_test_server.py",
                                     "--port-file",      portFile,
                                     "--store",          dir_.path()};
    if (mode.auth) args.push_back("--auth");
    if (!mode.startTlsCert.empty())
        args.insert(args.end(), {"--starttls", mode.startTlsCert, mode.startTlsKey});
    if (!mode.implicitTlsCert.empty())
        args.insert(args.end(), {"--implicit-tls", mode.implicitTlsCert, mode.implicitTlsKey});
    if (mode.dropInData) args.push_back("--drop-in-data");
    if (mode.smtpUtf8) args.push_back("--smtputf8");
    args.insert(args.end(), {"--host", mode.host});
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string logFile = dir_.file("server.log");

    pid_ = fork();
    if (pid_ == 0) {
        FILE* log = std::fopen(logFile.c_str(), "w");
        if (log) {
            dup2(fileno(log), 1);
            dup2(fileno(log), 2);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
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

TestSmtpServer::~TestSmtpServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 150; ++i) {
        int status;
        if (waitpid(pid_, &status, WNOHANG) == pid_) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid_, SIGKILL);
    int status;
    waitpid(pid_, &status, 0);
}

std::vector<std::string> TestSmtpServer::messages() const {
    std::vector<std::string> out;
    for (const auto& name : listDir(dir_.path()))
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".eml") == 0)
            out.push_back(dir_.file(name));
    std::sort(out.begin(), out.end());
    return out;
}

std::string TestSmtpServer::commands() const {
    return readFile(dir_.file("commands.log"));
}

std::string TestSmtpServer::envelope(const std::string& messagePath) const {
    return readFile(messagePath.substr(0, messagePath.size() - 4) + ".env");
}

namespace {

void MakeCertificate(const std::string& dir, const std::string& name, const std::string& cn,
                     const std::string& san) {
    const std::string cmd = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=" + cn +
                            " -addext subjectAltName=" + san + " -keyout " +
                            shellQuote(dir + "/" + name + ".key") + " -out " +
                            shellQuote(dir + "/" + name + ".pem") + " >/dev/null 2>&1";
    if (run(cmd) != 0) throw std::runtime_error("openssl could not make a certificate");
}

}  // namespace

std::string NonLoopbackAddress() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return {};
    std::string found;
    for (ifaddrs* a = list; a && found.empty(); a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET || !(a->ifa_flags & IFF_UP) ||
            (a->ifa_flags & IFF_LOOPBACK))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(a->ifa_addr)->sin_addr, text,
                      sizeof text))
            found = text;
    }
    freeifaddrs(list);
    return found;
}

// A folder in the system's temporary directory that outlives every IsolatedHome of the tests.
std::unique_ptr<TempDir> SystemTempDir() {
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    unsetenv("TMPDIR");
    auto dir = std::make_unique<TempDir>();
    if (old) setenv("TMPDIR", saved.c_str(), 1);
    return dir;
}

const Certificates& TestCertificates() {
    static std::unique_ptr<TempDir> held = SystemTempDir();
    TempDir& dir = *held;
    static Certificates certs = [&dir] {
        MakeCertificate(dir.path(), "good", "127.0.0.1", "IP:127.0.0.1");
        MakeCertificate(dir.path(), "other", "127.0.0.1", "IP:127.0.0.1");
        MakeCertificate(dir.path(), "wrongname", "mail.example.org", "DNS:mail.example.org");
        Certificates c;
        c.cert = dir.file("good.pem");
        c.key = dir.file("good.key");
        c.otherCert = dir.file("other.pem");
        c.otherKey = dir.file("other.key");
        c.wrongNameCert = dir.file("wrongname.pem");
        c.wrongNameKey = dir.file("wrongname.key");
        return c;
    }();
    return certs;
}

namespace {
std::string FromHex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += (char)std::stoi(hex.substr(i, 2), nullptr, 16);
    return out;
}
}  // namespace

ParsedMessage ParseMessage(const std::string& emlPath) {
    static int counter = 0;
    const std::string dir = emlPath + ".parts" + std::to_string(++counter);
    run("mkdir -p " + shellQuote(dir));
    const std::string output =
        capture("/usr/bin/python3 " + shellQuote(ScriptDir() + "/inspect_message.py") + " " +
                shellQuote(emlPath) + " " + shellQuote(dir));
    ParsedMessage parsed;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        std::string rest;
        std::getline(words, rest);
        if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
        if (kind == "header") {
            const auto space = rest.find(' ');
            parsed.headers.emplace(rest.substr(0, space),
                                   space == std::string::npos ? "" : rest.substr(space + 1));
        } else if (kind == "body") {
            parsed.body = FromHex(rest);
        } else if (kind == "attachment") {
            const auto space = rest.rfind(' ');
            parsed.attachments.emplace_back(rest.substr(0, space),
                                            readFile(rest.substr(space + 1)));
        } else if (kind == "defects") {
            parsed.defects = std::atoi(rest.c_str());
        }
    }
    return parsed;
}

int UnusedPort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    bind(s, (sockaddr*)&addr, sizeof addr);
    socklen_t len = sizeof addr;
    getsockname(s, (sockaddr*)&addr, &len);
    close(s);
    return ntohs(addr.sin_port);
}

void WriteRandomFile(const std::string& path, size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string data(n, '\0');
    for (auto& c : data) c = (char)(rng() & 0xFF);
    writeFile(path, data);
}

}  // namespace mailtest
