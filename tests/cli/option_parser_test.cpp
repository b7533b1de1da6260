// One way of reading options for every command: the forms getopt_long gives, the problems it
// reports in the commands' words, and the same forms through the real program.
#include "cli/option_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"
#include "tests/pdf/pdf_test_util.h"

using namespace vellumo::cli;
using testsupport::shellQuote;

namespace {

enum : int { kOut = 'o', kQuiet = 'q', kLevel = kFirstLongOnlyOption, kColour, kLang, kLanguage };

const std::vector<CommandOption> kTable = {
    {kOut, "output", 'o', OptionValue::Required, "-o needs a file name"},
    {kQuiet, "quiet", 'q', OptionValue::None},
    {kLevel, "level", 0, OptionValue::Required},
    {kColour, "colour", 0, OptionValue::None},
    {kLang, "lang", 0, OptionValue::Optional},
    {kLanguage, "language-list", 0, OptionValue::Required},
};

struct Parse {
    ParsedCommandLine result;
    std::vector<std::string> taken;  // "id=value" in the order taken
    std::vector<std::string> argvAfter;
};

Parse ParseArgs(std::vector<std::string> args, const std::string& wrongLevel = "") {
    args.insert(args.begin(), "cmd");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    Parse p;
    p.result = ParseCommandLine(static_cast<int>(args.size()), argv.data(), kTable,
                                [&](int id, const char* value) -> std::string {
                                    const std::string v = value ? value : "(none)";
                                    p.taken.push_back(std::to_string(id) + "=" + v);
                                    return id == kLevel && v == wrongLevel ? "bad level" : "";
                                });
    for (int i = 0; i < static_cast<int>(args.size()); ++i) p.argvAfter.push_back(argv[i]);
    return p;
}

std::string Taken(int id, const std::string& value) {
    return std::to_string(id) + "=" + value;
}

}  // namespace

TEST(OptionParser, ValuesInEveryFormAndOperandsInTheirOrder) {
    const Parse p =
        ParseArgs({"a.tif", "--level=3", "-o", "x.pdf", "b.tif", "--level", "4", "-oy.pdf",
                   "--output=z.pdf", "--output", "w.pdf", "--col", "-q", "--", "-c.tif"});
    EXPECT_EQ(p.result.outcome, ParseOutcome::Ok) << p.result.problem;
    EXPECT_EQ(p.taken, (std::vector<std::string>{
                           Taken(kLevel, "3"), Taken(kOut, "x.pdf"), Taken(kLevel, "4"),
                           Taken(kOut, "y.pdf"), Taken(kOut, "z.pdf"), Taken(kOut, "w.pdf"),
                           Taken(kColour, "(none)"), Taken(kQuiet, "(none)")}));
    // After "--" even what looks like an option is a file.
    EXPECT_EQ(p.result.operands, (std::vector<std::string>{"a.tif", "b.tif", "-c.tif"}));
    // The caller's list is left as it was given.
    EXPECT_EQ(p.argvAfter[1], "a.tif");
    EXPECT_EQ(p.argvAfter[2], "--level=3");
}

TEST(OptionParser, BundledShortOptionsAndOptionalValues) {
    Parse p = ParseArgs({"-qox.pdf", "--lang", "--lang=deu", "f"});
    EXPECT_EQ(p.result.outcome, ParseOutcome::Ok) << p.result.problem;
    EXPECT_EQ(p.taken, (std::vector<std::string>{Taken(kQuiet, "(none)"), Taken(kOut, "x.pdf"),
                                                 Taken(kLang, "(none)"), Taken(kLang, "deu")}));
    // An optional value comes only after "=": the next word stays an operand.
    EXPECT_EQ(p.result.operands, std::vector<std::string>{"f"});
}

TEST(OptionParser, ProblemsAreToldInTheCommandsWords) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"--frobnicate=1"}, "unknown option --frobnicate"},
        {{"-x"}, "unknown option -x"},
        {{"-qx"}, "unknown option -x"},
        {{"-o"}, "-o needs a file name"},
        {{"--output"}, "-o needs a file name"},
        {{"--level"}, "option --level needs a value"},
        {{"--colour=red"}, "option --colour takes no value"},
        {{"--la=x"}, "ambiguous option --la"},
        {{"--level", "7", "--frob", "-y"}, "bad level"},  // the first problem is the one told
    };
    for (const auto& [args, problem] : cases) {
        const Parse p = ParseArgs(args, "7");
        EXPECT_EQ(p.result.outcome, ParseOutcome::Wrong) << args.front();
        EXPECT_EQ(p.result.problem, problem) << args.front();
    }
    // A command that takes no files calls a wrong word an argument.
    std::vector<std::string> args = {"cmd", "--frob"};
    std::vector<char*> argv = {args[0].data(), args[1].data(), nullptr};
    EXPECT_EQ(ParseCommandLine(
                  2, argv.data(), kTable, [](int, const char*) { return ""; }, "argument")
                  .problem,
              "unknown argument --frob");
}

TEST(OptionParser, HelpWinsWhereverItIsAndAValueIsNeverHelp) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"},
                                                 {"--frob", "-h"},
                                                 {"f", "--level", "7", "--he"},
                                                 {"-qh"}}) {
        EXPECT_EQ(ParseArgs(args, "7").result.outcome, ParseOutcome::Help) << args.front();
    }
    // The value of an option is taken whatever it looks like; after "--" nothing is an option.
    EXPECT_EQ(ParseArgs({"-o", "--help", "f"}).result.outcome, ParseOutcome::Ok);
    EXPECT_EQ(ParseArgs({"--", "--help"}).result.operands, std::vector<std::string>{"--help"});
}

// The program: every command reads the same forms, with the exit status 2 for wrong usage.
class CliOptions : public ::testing::Test {
protected:
    int Cli(const std::string& args) {
        const std::string d = home_.path();
        const int rc = testsupport::run(
            "cd " + shellQuote(d) + " && " + shellQuote(VELLUMO_CLI_PATH) + " " + args + " >" +
            shellQuote(d + "/stdout") + " 2>" + shellQuote(d + "/stderr"));
        out_ = testsupport::readFile(d + "/stdout");
        err_ = testsupport::readFile(d + "/stderr");
        return rc;
    }
    testsupport::IsolatedHome home_;
    std::string out_, err_;
};

TEST_F(CliOptions, PdfTakesEveryFormOfItsOptions) {
    const std::string d = home_.path();
    pdftest::MakeGreyPng(d + "/g.png", 40, 40, 100);
    for (const std::string& args :
         {std::string("--output=a.pdf g.png"), std::string("-ob.pdf --compress=40 g.png"),
          std::string("g.png --compress 40 --bilevel g4 -o c.pdf"),
          std::string("--bil=jbig2 --out d.pdf -- g.png")}) {
        EXPECT_EQ(Cli("pdf " + args), 0) << args << ": " << err_;
    }
    for (const char* name : {"a.pdf", "b.pdf", "c.pdf", "d.pdf"})
        EXPECT_EQ(testsupport::capture("qpdf --check " + shellQuote(d + "/" + name) +
                                       " >/dev/null 2>&1; echo $?"),
                  "0\n")
            << name;
}

TEST_F(CliOptions, WrongOptionsAreUsageErrorsWithExitStatus2) {
    const std::pair<std::string, std::string> cases[] = {
        {"pdf --frobnicate -o x.pdf g.png",
         "vellumo-cli pdf: unknown option --frobnicate\nUsage: vellumo-cli pdf"},
        {"pdf -x -o x.pdf g.png", "vellumo-cli pdf: unknown option -x\n"},
        {"pdf --deskew=yes -o x.pdf g.png", "vellumo-cli pdf: option --deskew takes no value\n"},
        {"pdf g.png -o", "vellumo-cli pdf: -o needs a file name\n"},
        {"pdf --compress=high -o x.pdf g.png",
         "vellumo-cli pdf: the quality must be a number from 1 to 100\n"},
        {"pdf --ocr=eng++deu -o x.pdf g.png",
         "vellumo-cli pdf: --ocr needs languages like eng+deu"},
        {"scan --frobnicate -o x.pdf",
         "vellumo-cli scan: unknown argument --frobnicate\nUsage: vellumo-cli scan"},
        {"scan -o x.pdf stray", "vellumo-cli scan: unknown argument stray\n"},
        {"scan --mode=sepia -o x.pdf", "vellumo-cli scan: --mode needs bw, grey or colour\n"},
        {"scan --resolution", "vellumo-cli scan: --resolution needs dots per inch\n"},
        {"mail --to=b@example.org --server h --bogus f.pdf",
         "vellumo-cli mail: unknown option --bogus\nusage: vellumo-cli mail"},
        {"mail --to b@example.org --from a@example.org --server h a.pdf b.pdf",
         "vellumo-cli mail: only one file can be mailed\n"},
        {"mail --password=x --to b@example.org f.pdf",
         "vellumo-cli mail: the password is not accepted on the command line"},
        {"mail --to b@example.org --from", "vellumo-cli mail: option --from needs a value\n"},
    };
    for (const auto& [args, message] : cases) {
        EXPECT_EQ(Cli(args), 2) << args;
        EXPECT_EQ(err_.rfind(message, 0), 0u) << args << "\n" << err_;
        EXPECT_EQ(out_, "") << args;
    }
}

TEST_F(CliOptions, HelpOfEveryCommandWinsOverAWrongOption) {
    EXPECT_EQ(Cli("pdf --frobnicate --help"), 0);
    EXPECT_EQ(out_.rfind("Usage: vellumo-cli pdf", 0), 0u) << out_;
    EXPECT_EQ(Cli("scan -h --mode sepia"), 0);
    EXPECT_EQ(out_.rfind("Usage: vellumo-cli scan", 0), 0u) << out_;
    EXPECT_EQ(Cli("mail --bogus --help"), 0);
    EXPECT_EQ(out_.rfind("usage: vellumo-cli mail", 0), 0u) << out_;
    EXPECT_EQ(err_, "");
    // After "--" it is a file name like any other.
    EXPECT_EQ(Cli("pdf -o x.pdf -- --help"), 1);
    EXPECT_NE(err_.find("--help"), std::string::npos) << err_;
}
