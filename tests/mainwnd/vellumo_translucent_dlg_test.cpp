#include "mainwnd/vellumo_translucent_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "platform/log.h"
#include "platform/messages.h"
#include "res/resources.h"
#include "support/test_support.h"
#include "widgets/translucent_button.h"

using namespace vellumo::platform;
using namespace vellumo::widgets;
using namespace vellumo::res;
using namespace vellumo::mainwnd;

namespace {

class SkinWindow : public testing::Test {
protected:
    void SetUp() override { InitVellumoResources(); }
};

QImage Render(QWidget& w) {
    QImage image(w.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    w.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// How many pixels are close to the page-count text colour RGB(71, 82, 86).
int TextPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            if (std::abs(c.red() - 71) < 12 && std::abs(c.green() - 82) < 12 &&
                std::abs(c.blue() - 86) < 12)
                ++n;
        }
    return n;
}

TEST_F(SkinWindow, EveryImageIsCompiledInUnderItsId) {
    const QDir images(QString::fromStdString(testsupport::sourceDir() + "/res/images"));
    const QStringList files = images.entryList({QStringLiteral("*.png")}, QDir::Files);
    ASSERT_GT(files.size(), 40);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QString resource = QStringLiteral(":/images/") + file;
        ASSERT_TRUE(QFile::exists(resource));
        EXPECT_EQ(QImage(resource), QImage(images.filePath(file)));
    }
}

TEST_F(SkinWindow, IsTheSkinsSizeWithTitleAndIcon) {
    CVellumoTranslucentDlg skin;
    EXPECT_EQ(skin.size(), QSize(899, 665));
    EXPECT_EQ(skin.windowTitle(), QStringLiteral("Vellumo"));
    EXPECT_FALSE(skin.windowIcon().isNull());
    EXPECT_EQ(skin.companion(), nullptr);
    ASSERT_NE(skin.pageCountButton(), nullptr);
    EXPECT_EQ(skin.pageCountButton()->geometry(), QRect(320, 78, 200, 32));
}

TEST_F(SkinWindow, SkinPixelsShowWithTheirAlpha) {
    CVellumoTranslucentDlg skin;
    const QImage image = Render(skin);
    const QImage png = QImage(QStringLiteral(":/images/200.png"))
                           .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), qAlpha(png.pixel(0, 0)));
    EXPECT_LT(qAlpha(image.pixel(0, 0)), 255);  // the skin's corner is see-through
    for (QPoint p : {QPoint(100, 300), QPoint(700, 600), QPoint(450, 20)})
        EXPECT_EQ(image.pixel(p), png.pixel(p)) << p.x() << "," << p.y();
}

TEST_F(SkinWindow, PageCountShowsPagesAsCounterMinusOne) {
    EXPECT_EQ(CVellumoTranslucentDlg::pageCountText(1), QStringLiteral("Pages ready to save (0):"));
    EXPECT_EQ(CVellumoTranslucentDlg::pageCountText(4), QStringLiteral("Pages ready to save (3):"));
    const QImage plain = QImage(QStringLiteral(":/images/188.png"))
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage none = CVellumoTranslucentDlg::pageCountImage(1);
    const QImage three = CVellumoTranslucentDlg::pageCountImage(4);
    EXPECT_EQ(none.size(), QSize(200, 32));
    EXPECT_NE(none, plain);
    EXPECT_NE(none, three);
    EXPECT_GT(TextPixels(three), 20);  // drawn in the text colour
    EXPECT_LT(TextPixels(plain), 5);
    // Centred: as much ink left of the middle as right of it, within a few columns.
    int left = 0, right = 0, top = 0, bottom = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 200; ++x)
            if (three.pixel(x, y) != plain.pixel(x, y)) {
                (x < 100 ? left : right)++;
                (y < 16 ? top : bottom)++;
            }
    EXPECT_NEAR(double(left) / (left + right), 0.5, 0.1);
    EXPECT_NEAR(double(top) / (top + bottom), 0.5, 0.2);
}

TEST_F(SkinWindow, PageCountMessageUpdatesTheButtonInEveryState) {
    CVellumoTranslucentDlg skin;
    EXPECT_EQ(skin.pageCountButton()->currentImage(), CVellumoTranslucentDlg::pageCountImage(1));
    PostWindowMessage(&skin, msg::UM_PAGECOUNT, 4, 0);
    QCoreApplication::processEvents();
    const QImage three = CVellumoTranslucentDlg::pageCountImage(4);
    for (auto state : {CTranslucentButton::Normal, CTranslucentButton::Disabled,
                       CTranslucentButton::Hover, CTranslucentButton::Pressed})
        EXPECT_EQ(skin.pageCountButton()->stateImage(state), three);
    const QImage image = Render(skin);
    EXPECT_EQ(image.copy(320, 78, 200, 32), three);
    SendWindowMessage(&skin, msg::UM_PAGECOUNT, 3, 0);
    EXPECT_EQ(Render(skin).copy(320, 78, 200, 32), CVellumoTranslucentDlg::pageCountImage(3));
}

TEST_F(SkinWindow, MinimiseMessageMinimisesIt) {
    CVellumoTranslucentDlg skin;
    skin.show();
    PostWindowMessage(&skin, msg::UM_MINIMIZE, 1, 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(skin.windowState() & Qt::WindowMinimized);
}

class LoggingCompanion : public QWidget {
public:
    using QWidget::QWidget;
    ~LoggingCompanion() override { WriteLog("Companion gone\n"); }
};

TEST_F(SkinWindow, FactoryCompanionLiesOverItAndEndsBeforeItsStopLine) {
    testsupport::TempDir dir;
    const int savedOn = loggingOn;
    const std::string savedPath = logPath;
    loggingOn = 1;
    logPath = MakeLogPath(dir.path());
    QWidget* made = nullptr;
    {
        CVellumoTranslucentDlg skin([&](CVellumoTranslucentDlg* owner) {
            made = new LoggingCompanion(owner);
            return made;
        });
        skin.show();
        ASSERT_EQ(skin.companion(), made);
        EXPECT_EQ(made->geometry(), skin.rect());
        // The page-count button stays above the companion, reachable by the pointer.
        EXPECT_EQ(skin.childAt(330, 85), skin.pageCountButton());
    }
    const std::string text = testsupport::readFile(logPath);
    const size_t gone = text.find(" - Companion gone\n");
    const size_t stop = text.find(" - Stop\n");
    EXPECT_NE(gone, std::string::npos);
    EXPECT_NE(stop, std::string::npos);
    EXPECT_LT(gone, stop);
    loggingOn = savedOn;
    logPath = savedPath;
}

}  // namespace
