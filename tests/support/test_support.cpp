#include "support/test_support.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vellumo-test-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
    path_ = buf.data();
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

IsolatedHome::IsolatedHome() {
    const std::string home = dir_.path();
    std::filesystem::create_directories(home + "/tmp");
    std::filesystem::create_directories(home + "/Documents");
    std::filesystem::create_directories(home + "/.config");
    std::filesystem::create_directories(home + "/run");
    chmod((home + "/run").c_str(), 0700);
    const std::vector<std::pair<std::string, std::string>> values = {
        {"HOME", home},
        {"XDG_CONFIG_HOME", home + "/.config"},
        {"XDG_STATE_HOME", home + "/.local/state"},
        {"XDG_RUNTIME_DIR", home + "/run"},
        {"XDG_DOCUMENTS_DIR", home + "/Documents"},
        {"TMPDIR", home + "/tmp"},
    };
    for (const auto& [name, value] : values) {
        if (const char* old = std::getenv(name.c_str()))
            saved_.emplace_back(name, old);
        else
            unset_.push_back(name);
        setenv(name.c_str(), value.c_str(), 1);
    }
}

IsolatedHome::~IsolatedHome() {
    for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    for (const auto& name : unset_) unsetenv(name.c_str());
}

int run(const std::string& commandLine) {
    int status = std::system(commandLine.c_str());
    if (status == -1) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string capture(const std::string& commandLine, int* status) {
    std::string out;
    FILE* pipe = popen(commandLine.c_str(), "r");
    if (!pipe) {
        if (status) *status = -1;
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    int rc = pclose(pipe);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

bool haveTool(const std::string& program) {
    return run("command -v " + shellQuote(program) + " >/dev/null 2>&1") == 0;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

bool fileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

std::vector<std::string> listDir(const std::string& path) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(path, ec))
        names.push_back(entry.path().filename().string());
    return names;
}

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

std::string sourceDir() {
    const char* dir = std::getenv("VELLUMO_SOURCE_DIR");
    return dir ? dir : ".";
}

std::vector<std::string> logMessages(const std::string& logFile) {
    std::vector<std::string> lines;
    std::istringstream in(fileExists(logFile) ? readFile(logFile) : "");
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto dash = line.find(" - ");
        lines.push_back(dash == std::string::npos ? line : line.substr(dash + 3));
    }
    return lines;
}

}  // namespace testsupport
