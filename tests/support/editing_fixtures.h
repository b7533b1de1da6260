// Shared set-up of the editing tests: one private home for the whole run (the settings file's
// place is fixed at its first use), the log switched on into a fresh file per test, images
// made in memory and written by the program's own codecs, and mouse input for the windows.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <string>
#include <vector>

#include "imaging/codecs.h"
#include "imaging/convert.h"
#include "document/command_context.h"
#include "document/page_document.h"
#include "imaging/working_image.h"
#include "platform/log.h"
#include "platform/scripted_dialogs.h"
#include "platform/settings_store.h"
#include "tests/support/test_support.h"

namespace editing {
using namespace vellumo::platform;
using namespace vellumo::imaging;
using namespace vellumo::document;

// The private home every test of the run shares; made before the first setting is read.
testsupport::IsolatedHome& Home();

// Logging on into a new file of its own; a page document of its own, whose working image is
// released before and after.
class EditingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The log's lines, without the time stamp in front of each.
    std::vector<std::string> logLines() const;
    // How many log lines are exactly `line`.
    int countLog(const std::string& line) const;
    // What a command gets: the test's own window, document and settings.
    vellumo::document::CommandContext context() {
        return vellumo::document::CommandContext{&window_, nullptr, &document_, &settings_};
    }

    testsupport::TempDir dir_;
    std::string log_;
    QWidget window_;
    vellumo::document::PageDocument document_;
    vellumo::document::MainSettings settings_;
};

// Owns an image for the length of a test.
struct Image {
    vellumo::imaging::ImageBuffer buffer{};
    Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    ~Image() { FreeImage(buffer); }
};

// A grey picture whose every pixel differs from its neighbours: value (x * 7 + y * 13) % 256.
void MakeGrey(vellumo::imaging::ImageBuffer& image, int width, int height);
// A bilevel picture: white (1) where (x / 3 + y / 5) is even.
void MakeBilevel(vellumo::imaging::ImageBuffer& image, int width, int height);
// A colour picture: blue x, green y, red x + y (each % 256).
void MakeColour(vellumo::imaging::ImageBuffer& image, int width, int height);
// The pixel's value as GetPixelValue reads it, at (x, y) of the working area.
int AreaPixel(const vellumo::imaging::ImageBuffer& image, int x, int y);
// True when both areas have the same size, depth and pixels.
bool SamePicture(const vellumo::imaging::ImageBuffer& a, const vellumo::imaging::ImageBuffer& b);

// Mouse input straight to a window, in its own coordinates.
void Press(QWidget* w, QPoint p);
void Move(QWidget* w, QPoint p);
void Release(QWidget* w, QPoint p);
void Drag(QWidget* w, QPoint from, QPoint to);

}  // namespace editing
