// Shared set-up of these tests: one private home for the process (made before the first
// setting is read), the real program window (skin and main dialog) with the editing, PDF and
// mail commands, the log in a fresh file per test, a scripted answerer and image files made by
// ImageMagick in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "platform/scripted_dialogs.h"
#include "tests/support/test_support.h"

#include "mainwnd/vellumo_translucent_dlg.h"

namespace ux {
using namespace vellumo::platform;
using namespace vellumo::mainwnd;

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A small image file of the kind, made by ImageMagick: "bw.tif", "grey.png", "colour.jpg",
    // "x.bmp" (by the name's extension).
    std::string MakeImage(const std::string& name, int width = 120, int height = 90);
    // A file that starts like a PNG and then breaks off.
    std::string MakeDamagedPng(const std::string& name);
    // Loads the files through "LOAD PAGE" and checks they all became pages.
    void LoadPages(const std::vector<std::string>& files);
    // The page files in list order.
    std::vector<std::string> PageSources() const;
    // The log's lines without their time stamps.
    std::vector<std::string> LogLines() const;
    int CountLog(const std::string& line) const;
    // Starts the log and the record of questions afresh.
    void Forget();
    static QStringList Q(const std::vector<std::string>& files);

    testsupport::TempDir dir_;
    std::string log_;
    vellumo::platform::ScriptedDialogs dialogs_;
    std::unique_ptr<vellumo::mainwnd::CVellumoTranslucentDlg> skin_;
};

}  // namespace ux
