// Helpers shared by the tests: private temporary folders, an isolated home for settings and
// temporary files, running external tools, and small file utilities.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Points HOME, XDG_CONFIG_HOME, XDG_RUNTIME_DIR, TMPDIR and the documents folder at a private
// folder for the lifetime of the object, so settings, logs and temporary files of one test never
// meet another's. Restores the previous values afterwards.
class IsolatedHome {
public:
    IsolatedHome();
    ~IsolatedHome();
    const std::string& path() const { return dir_.path(); }
    std::string tempDir() const { return dir_.path() + "/tmp"; }
    std::string documentsDir() const { return dir_.path() + "/Documents"; }

private:
    TempDir dir_;
    std::vector<std::pair<std::string, std::string>> saved_;
    std::vector<std::string> unset_;
};

// Runs a shell command line; returns its exit status (-1 when it could not run).
int run(const std::string& commandLine);
// Runs a shell command line and returns what it wrote to standard output.
std::string capture(const std::string& commandLine, int* status = nullptr);
// True when the program is on PATH.
bool haveTool(const std::string& program);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& contents);
bool fileExists(const std::string& path);
std::vector<std::string> listDir(const std::string& path);
// Quotes a string for the shell.
std::string shellQuote(const std::string& s);
// The source tree (for res/ and other checked-in inputs).
std::string sourceDir();
// The program's log file as messages: each line without its time stamp and line ending;
// none when there is no file.
std::vector<std::string> logMessages(const std::string& logFile);

}  // namespace testsupport
