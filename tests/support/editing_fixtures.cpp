#include "tests/support/editing_fixtures.h"

#include <sstream>

namespace editing {

namespace {
testsupport::IsolatedHome* home = nullptr;

// Made before any test runs, so the settings file lives in the private home from the start,
// and removed with everything in it when the last test is done.
struct HomeEnvironment : ::testing::Environment {
    void SetUp() override { Home(); }
    void TearDown() override {
        delete home;
        home = nullptr;
    }
};
[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new HomeEnvironment);
}  // namespace

testsupport::IsolatedHome& Home() {
    if (!home) home = new testsupport::IsolatedHome;
    return *home;
}

void EditingTest::SetUp() {
    Home();
    FreeImage(document_.workingImage);
    log_ = dir_.file("Vellumo_log.mdm");
    logPath = log_;
    loggingOn = 1;
}

void EditingTest::TearDown() {
    FreeImage(document_.workingImage);
    loggingOn = 0;
}

std::vector<std::string> EditingTest::logLines() const {
    return testsupport::logMessages(log_);
}

int EditingTest::countLog(const std::string& wanted) const {
    int n = 0;
    for (const std::string& line : logLines()) n += line == wanted;
    return n;
}

void MakeGrey(ImageBuffer& image, int width, int height) {
    ASSERT_EQ(AllocateImage(image, width, height, 8), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            RowPointer(image, y)[x] = static_cast<uint8_t>((x * 7 + y * 13) % 256);
}

void MakeBilevel(ImageBuffer& image, int width, int height) {
    ASSERT_EQ(AllocateImage(image, width, height, 1), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((x / 3 + y / 5) % 2 == 0) RowPointer(image, y)[x / 8] |= 0x80 >> (x % 8);
}

void MakeColour(ImageBuffer& image, int width, int height) {
    ASSERT_EQ(AllocateImage(image, width, height, 24), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = RowPointer(image, y) + x * 3;
            p[0] = static_cast<uint8_t>(x % 256);
            p[1] = static_cast<uint8_t>(y % 256);
            p[2] = static_cast<uint8_t>((x + y) % 256);
        }
}

int AreaPixel(const ImageBuffer& image, int x, int y) {
    return GetPixelValue(image, static_cast<int>(image.areaLeft) + x,
                         static_cast<int>(image.areaTop) + y);
}

bool SamePicture(const ImageBuffer& a, const ImageBuffer& b) {
    if (AreaWidth(a) != AreaWidth(b) || AreaHeight(a) != AreaHeight(b) ||
        BitsPerPixel(a) != BitsPerPixel(b))
        return false;
    for (int y = 0; y < static_cast<int>(AreaHeight(a)); ++y)
        for (int x = 0; x < static_cast<int>(AreaWidth(a)); ++x)
            if (AreaPixel(a, x, y) != AreaPixel(b, x, y)) return false;
    return true;
}

namespace {
void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}
}  // namespace

void Press(QWidget* w, QPoint p) {
    SendMouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
}
void Move(QWidget* w, QPoint p) {
    SendMouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
}
void Release(QWidget* w, QPoint p) {
    SendMouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}
void Drag(QWidget* w, QPoint from, QPoint to) {
    Press(w, from);
    Move(w, (from + to) / 2);
    Move(w, to);
    Release(w, to);
}

}  // namespace editing
