// The viewer: the command line the main window hands over, paging through the list with its
// title, zoom (fit page, fit width, 100 %, wheel, keys) and panning, on real page files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWheelEvent>

#include "res/language.h"
#include "support/test_support.h"
#include "viewer/viewer_args.h"
#include "viewer/viewer_window.h"

using namespace vellumo;
using namespace vellumo::imaging;
using testsupport::shellQuote;

namespace {

viewer::ViewerArguments Parse(std::vector<std::string> words) {
    words.insert(words.begin(), "viewer");
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    return viewer::ParseViewerArguments(static_cast<int>(words.size()), argv.data());
}

TEST(ViewerArguments, PagesKeepTheirOrderAndTheirPageNumbers) {
    const auto a = Parse(
        {"--show", "3", "a.tif", "--page", "2", "scan.pdf", "--page", "1", "scan.pdf", "b.png"});
    ASSERT_TRUE(a.error.empty()) << a.error;
    EXPECT_EQ(a.show, 3);
    ASSERT_EQ(a.pages.size(), 4u);
    EXPECT_EQ(a.pages[0].path, "a.tif");
    EXPECT_EQ(a.pages[0].page, 0);  // every page of a.tif
    EXPECT_EQ(a.pages[1].path, "scan.pdf");
    EXPECT_EQ(a.pages[1].page, 2);
    EXPECT_EQ(a.pages[2].page, 1);
    EXPECT_EQ(a.pages[3].path, "b.png");
    EXPECT_EQ(a.pages[3].page, 0);

    // One file alone, as the desktop would start it.
    const auto single = Parse({"/tmp/page.tif"});
    ASSERT_EQ(single.pages.size(), 1u);
    EXPECT_EQ(single.show, 1);

    // What the main window builds parses back to the same pages.
    const std::vector<imaging::PageRef> pages = {{"/x/a.pdf", 1}, {"-odd.png", 0}};
    std::vector<std::string> line = viewer::ViewerCommandLine(pages, 1);
    const auto back = Parse(line);
    ASSERT_EQ(back.pages.size(), 2u);
    EXPECT_EQ(back.show, 2);
    EXPECT_EQ(back.pages[0].path, "/x/a.pdf");
    EXPECT_EQ(back.pages[0].page, 2);
    EXPECT_EQ(back.pages[1].path, "./-odd.png");
}

TEST(ViewerArguments, WrongUsageIsReported) {
    EXPECT_FALSE(Parse({}).error.empty());
    EXPECT_FALSE(Parse({"--page", "0", "a.png"}).error.empty());
    EXPECT_FALSE(Parse({"--show", "x", "a.png"}).error.empty());
    EXPECT_FALSE(Parse({"a.png", "--page", "2"}).error.empty());
    EXPECT_FALSE(Parse({"--frobnicate", "a.png"}).error.empty());
    EXPECT_TRUE(Parse({"--help"}).help);
}

class ViewerWindowTest : public ::testing::Test {
protected:
    std::string make(const std::string& name, const std::string& convertArgs) {
        const std::string path = home_.path() + "/" + name;
        EXPECT_EQ(testsupport::run("convert " + convertArgs + " " + shellQuote(path)), 0);
        return path;
    }
    static void WaitForFullPage(viewer::ViewerWindow& w) {
        QElapsedTimer timer;
        timer.start();
        while (!w.fullPageLoaded() && timer.elapsed() < 20000) QTest::qWait(10);
        ASSERT_TRUE(w.fullPageLoaded());
    }
    testsupport::IsolatedHome home_;
};

TEST_F(ViewerWindowTest, PageUpAndDownWalkTheListWithTheTitle) {
    const std::string a = make("a.png", "-size 200x300 xc:red");
    const std::string b = make("b.tif", "-size 200x300 xc:green -size 300x200 xc:blue");
    viewer::ViewerWindow w({{a, 0}, {b, 1}, {b, 0}}, 1);
    w.resize(400, 500);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vellumo - Page 2 of 3"));
    EXPECT_EQ(w.canvas()->pageSize(), QSize(300, 200));  // page 2 of b.tif is the landscape one
    QTest::keyClick(&w, Qt::Key_PageDown);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vellumo - Page 3 of 3"));
    EXPECT_EQ(w.canvas()->pageSize(), QSize(200, 300));
    QTest::keyClick(&w, Qt::Key_PageDown);  // the last page stays
    EXPECT_EQ(w.current(), 2);
    QTest::keyClick(&w, Qt::Key_PageUp);
    QTest::keyClick(&w, Qt::Key_PageUp);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vellumo - Page 1 of 3"));
    QTest::keyClick(&w, Qt::Key_PageUp);
    EXPECT_EQ(w.current(), 0);
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(ViewerWindowTest, SpeaksTheUsersLanguage) {
    ASSERT_TRUE(res::InstallLanguage(QStringLiteral("de")));
    const std::string a = make("a.png", "-size 200x300 xc:red");
    viewer::ViewerWindow w({{a, 0}, {a, 0}}, 1);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vellumo - Seite 2 von 2"));
}

TEST_F(ViewerWindowTest, ZoomFitsAndShowsEveryPixelOfTheFullPage) {
    // A page larger than the screen: the stand-in is reduced, the full page follows.
    const std::string page = make("big.jpg", "-size 2480x3508 plasma:fractal -seed 5 -density 300");
    viewer::ViewerWindow w({{page, 0}}, 0);
    w.resize(600, 800);
    w.show();
    viewer::PageCanvas* c = w.canvas();
    WaitForFullPage(w);
    const double r = c->devicePixelRatioF();
    // Fit page: the whole page in the window, centred.
    EXPECT_EQ(c->fitMode(), viewer::FitMode::Page);
    EXPECT_NEAR(c->zoom(), std::min(600 * r / 2480, c->height() * r / 3508), 1e-9);
    QTest::keyClick(c, Qt::Key_W);
    EXPECT_EQ(c->fitMode(), viewer::FitMode::Width);
    EXPECT_NEAR(c->zoom(), c->width() * r / 2480, 1e-9);
    QTest::keyClick(c, Qt::Key_1);
    EXPECT_DOUBLE_EQ(c->zoom(), 1.0);
    // At 100 % the page pixel under the centre stays there when zooming with keys.
    const QPointF centre(c->width() / 2.0, c->height() / 2.0);
    const QPointF before = c->pagePointAt(centre);
    QTest::keyClick(c, Qt::Key_Plus);
    EXPECT_DOUBLE_EQ(c->zoom(), viewer::PageCanvas::kZoomStep);
    EXPECT_NEAR(c->pagePointAt(centre).x(), before.x(), 1e-6);
    QTest::keyClick(c, Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(c->zoom(), 1.0);
    // The wheel zooms about the pointer.
    const QPointF pointer(100, 120);
    const QPointF under = c->pagePointAt(pointer);
    QWheelEvent wheel(pointer, c->mapToGlobal(pointer), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(c, &wheel);
    EXPECT_NEAR(c->zoom(), viewer::PageCanvas::kZoomStep * viewer::PageCanvas::kZoomStep, 1e-9);
    EXPECT_NEAR(c->pagePointAt(pointer).x(), under.x(), 1e-6);
    EXPECT_NEAR(c->pagePointAt(pointer).y(), under.y(), 1e-6);
    // Arrows and dragging pan; the page never leaves a gap at its edges.
    QTest::keyClick(c, Qt::Key_1);
    const QPointF origin = c->origin();
    QTest::keyClick(c, Qt::Key_Right);
    EXPECT_LT(c->origin().x(), origin.x());
    QTest::mousePress(c, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
    QTest::mouseMove(c, QPoint(250, 200));
    QTest::mouseRelease(c, Qt::LeftButton, Qt::NoModifier, QPoint(250, 200));
    for (int i = 0; i < 200; ++i) QTest::keyClick(c, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(c->origin().x(), 0.0);
    for (int i = 0; i < 400; ++i) QTest::keyClick(c, Qt::Key_Down);
    EXPECT_NEAR(c->origin().y(), c->height() * r - 3508, 1e-6);
    // Drawn at 100 %, a window pixel is a page pixel of the full decode.
    const QImage shot = c->grab().toImage();
    QImage reference(QString::fromStdString(page));
    const QPointF p = c->pagePointAt(QPointF(10.5, 10.5));
    EXPECT_EQ(
        shot.pixelColor(static_cast<int>(10 * r), static_cast<int>(10 * r)).rgb() & 0xFFFFFF,
        reference.pixelColor(static_cast<int>(p.x()), static_cast<int>(p.y())).rgb() & 0xFFFFFF);
}

TEST_F(ViewerWindowTest, AnUnreadablePageSaysWhy) {
    const std::string bad = home_.path() + "/bad.pdf";
    testsupport::writeFile(bad, "%PDF-1.4\ngarbage\n");
    viewer::ViewerWindow w({{bad, 0}}, 0);
    w.show();
    EXPECT_FALSE(w.canvas()->hasPage());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vellumo - Page 1 of 1"));
}

TEST(ViewerProgram, StartsOnTheMainWindowsCommandLineAndRefusesWrongUsage) {
    testsupport::IsolatedHome home;
    std::string out;
    int status = 0;
    out = testsupport::capture(shellQuote(VELLUMO_VIEWER_PATH) + " --page 2>&1", &status);
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("Usage: viewer"), std::string::npos) << out;
    out = testsupport::capture(shellQuote(VELLUMO_VIEWER_PATH) + " --help", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(out.find("Page Up"), std::string::npos);
}

}  // namespace
