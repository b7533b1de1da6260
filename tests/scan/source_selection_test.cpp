#include "scan/source_selection.h"

#include <gtest/gtest.h>

#include <map>

#include "scan_test_support.h"

using namespace vellumo::scan;

using namespace scantest;

namespace {

const char kTestScanner[] = "Noname frontend-tester";

struct Store {
    std::map<std::string, std::string> values;
    SettingsAccess access() {
        return {
            [this](const std::string& name, const std::string& def) {
                auto it = values.find(name);
                return it == values.end() ? def : it->second;
            },
            [this](const std::string& name, const std::string& value) { values[name] = value; }};
    }
};

}  // namespace

TEST(SameSource, FirstThirtyTwoBytes) {
    const std::string a = "Vendor Model With A Long Name 32!";  // 33 bytes
    EXPECT_TRUE(SameSource(a, "Vendor Model With A Long Name 32?"));
    EXPECT_FALSE(SameSource("Vendor Model With A Long Name 3", "Vendor Model With A Long Name 4"));
    EXPECT_FALSE(SameSource("", kTestScanner));
    EXPECT_FALSE(SameSource("hp", "HP"));
    EXPECT_TRUE(SameSource("", ""));
}

TEST(StartupSelection, ListsTheSourcesAndReselectsTheStoredOne) {
    LogCapture log;
    ScannerComponent c;
    RecordingUi ui;
    Store store;
    store.values["CurrentDevice"] = kTestScanner;
    int window = 0;
    ASSERT_TRUE(SelectStartupSource(c, ui, store.access(), &window, [](void*, int, int) {}));
    const std::string name = kTestScanner;
    // Both test devices carry the same product name: the later one stays selected.
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "Current source was " + name,
                               "Found 2 TWAIN sources:",
                               "1: " + name,
                               "2: " + name,
                               "Current source now " + name,
                           }));
    EXPECT_EQ(c.CurrentSource(), 1);
    EXPECT_EQ(c.ParentWindow(), &window);
    EXPECT_EQ(c.TraceLog(), 1);  // the log is on
    EXPECT_EQ(store.values["CurrentDevice"], name);
    EXPECT_TRUE(ui.calls.empty());
}

TEST(StartupSelection, StoredNameNotInstalledIsReplacedByTheCurrentOne) {
    LogCapture log;
    ScannerComponent c;
    RecordingUi ui;
    Store store;
    store.values["CurrentDevice"] = "Gone Scanner 3000";
    ASSERT_TRUE(SelectStartupSource(c, ui, store.access(), nullptr, nullptr));
    EXPECT_EQ(c.CurrentSource(), 0);
    EXPECT_EQ(store.values["CurrentDevice"], kTestScanner);
    EXPECT_EQ(log.lines().front(), "Current source was Gone Scanner 3000");
    EXPECT_EQ(log.lines().back(), std::string("Current source now ") + kTestScanner);
}

TEST(StartupSelection, EmptyStoredNameSelectsNothingByName) {
    LogCapture log;
    ScannerComponent c;
    RecordingUi ui;
    Store store;
    ASSERT_TRUE(SelectStartupSource(c, ui, store.access(), nullptr, nullptr));
    EXPECT_EQ(c.CurrentSource(), 0);
    EXPECT_EQ(log.lines().front(), "Current source was ");
}

TEST(PreferencesPage, ShowsTheCurrentSourceAndSelectsAnother) {
    ScannerComponent c;
    RecordingUi ui;
    Store store;
    EXPECT_EQ(CurrentDeviceText(c, ui), std::optional<std::string>(kTestScanner));

    store.values["CurrentDevice"] = "Previous Scanner";
    c.SetSourceChooser([](const std::vector<std::string>&, int) { return -1; });
    EXPECT_EQ(SelectDevice(c, store.access()), "");
    EXPECT_EQ(store.values["CurrentDevice"],
              "Previous Scanner");  // a cancelled dialog changes nothing

    c.SetSourceChooser([](const std::vector<std::string>& names, int) {
        return static_cast<int>(names.size()) - 1;
    });
    EXPECT_EQ(SelectDevice(c, store.access()), kTestScanner);
    EXPECT_EQ(store.values["CurrentDevice"], kTestScanner);
    EXPECT_EQ(c.CurrentSource(), 1);
    EXPECT_TRUE(ui.calls.empty());
}

TEST(PreferencesPage, ErrorReportIsTheTextAloneWithoutLog) {
    LogCapture log;
    RecordingUi ui;
    errorContext = "ignored context\n";
    ReportPageComponentError(ScannerError(kComponentStatus, kErrNoSource, "No scanner was found"),
                             ui);
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"beep", "warning: 2: No scanner was found"}));
    EXPECT_TRUE(log.lines().empty());
}

TEST(ShippedConfiguration, TestScannerBesideTheSystemsBackEnds) {
    // res/sane is used with a trailing ':' so that the system's configuration stays behind it.
    const std::string dll = testsupport::readFile(testsupport::sourceDir() + "/res/sane/dll.conf");
    EXPECT_NE(dll.find("\ntest\n"), std::string::npos);
    EXPECT_NE(dll.find("\nnet\n"), std::string::npos);
    const std::string conf =
        testsupport::readFile(testsupport::sourceDir() + "/res/sane/test.conf");
    EXPECT_NE(conf.find("geometry_max 300.0"), std::string::npos);
    if (!testsupport::haveTool("scanimage") || !testsupport::haveTool("timeout")) GTEST_SKIP();
    const std::string listing = testsupport::capture(
        "SANE_CONFIG_DIR=" + testsupport::shellQuote(testsupport::sourceDir() + "/res/sane:") +
        " timeout 60 scanimage -L 2>/dev/null");
    EXPECT_NE(listing.find("`test:0'"), std::string::npos) << listing;
    EXPECT_NE(listing.find("`test:1'"), std::string::npos) << listing;
}
