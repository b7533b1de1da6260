// The image corpus shared by the loader's and the PDF writer's tests: made at test time by
// make_corpus.py beside this file (independent tools write the files and decode them), listed
// in its manifest, and tallied per format as right, refused with a reason, or wrong.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace corpus {

struct Entry {
    std::string file;
    std::string format;
    bool refused = false;  // the file must be refused, with a reason
    std::string compare;   // "exact", "close" or "psnr:N"
    double dpiX = 0, dpiY = 0;
    std::string note;
};

// Makes the corpus in dir and reads its manifest; an empty list when the tools failed.
inline std::vector<Entry> Make(const std::string& dir) {
    const std::string script = testsupport::sourceDir() + "/tests/imaging/corpus/make_corpus.py";
    std::string output;
    const int status =
        testsupport::run("MAGICK_THREAD_LIMIT=1 /usr/bin/python3 " +
                         testsupport::shellQuote(script) + " " + testsupport::shellQuote(dir));
    if (status != 0) return {};
    std::vector<Entry> entries;
    std::istringstream lines(testsupport::readFile(dir + "/manifest.tsv"));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        std::vector<std::string> fields;
        std::istringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t')) fields.push_back(cell);
        if (fields.size() < 6) continue;
        Entry e;
        e.file = fields[0];
        e.format = fields[1];
        e.refused = fields[2] == "refused";
        e.compare = fields[3];
        e.dpiX = std::stod(fields[4]);
        e.dpiY = std::stod(fields[5]);
        e.note = fields.size() > 6 ? fields[6] : "";
        entries.push_back(e);
    }
    return entries;
}

// Per format: how many files came out right, were refused with a reason, or were wrong.
class Tally {
public:
    enum Outcome { Right, Refused, Wrong };
    void add(const std::string& format, Outcome outcome) { counts_[format][outcome]++; }
    int wrong() const {
        int n = 0;
        for (const auto& [format, c] : counts_) n += c[Wrong];
        return n;
    }
    // The table for the test's output.
    std::string table(const std::string& title) const {
        std::ostringstream out;
        out << title << "\n  format   right  refused  wrong\n";
        int total[3] = {0, 0, 0};
        for (const auto& [format, c] : counts_) {
            char row[80];
            std::snprintf(row, sizeof row, "  %-7s %6d %8d %6d\n", format.c_str(), c[Right],
                          c[Refused], c[Wrong]);
            out << row;
            for (int i = 0; i < 3; ++i) total[i] += c[i];
        }
        char row[80];
        std::snprintf(row, sizeof row, "  %-7s %6d %8d %6d\n", "all", total[0], total[1], total[2]);
        out << row;
        return out.str();
    }

private:
    std::map<std::string, std::array<int, 3>> counts_;
};

}  // namespace corpus
