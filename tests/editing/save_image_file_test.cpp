#include "editing/save_image_file.h"

#include <QPushButton>

#include "editing/preview_dlg.h"
#include "tests/support/editing_fixtures.h"

using namespace vellumo::document;
using namespace vellumo::editing;

namespace editing {
namespace {

using testsupport::capture;
using testsupport::fileExists;
using testsupport::shellQuote;

// The format ImageMagick reads in a file, with its depth and size: "PNG 8 40x30".
std::string Identify(const std::string& path) {
    return capture("/usr/bin/identify -format '%m %z %wx%h' " + shellQuote(path) + " 2>/dev/null");
}

class SaveImage : public EditingTest {
protected:
    void SetUp() override {
        EditingTest::SetUp();
        SettingsStore::write(setting::LastFileType, 0);
        SettingsStore::write(setting::CurrentDir, QString());
    }
    ScriptedDialogs dialogs;
};

TEST(SaveImageNames, InitialNameComesFromTheLastType) {
    const std::pair<int, const char*> cases[] = {
        {0, "*.tif"}, {1, "*.tif"}, {2, "*.bmp"}, {3, "*.jpg"}, {4, "*.pcx"}, {5, "*.gif"},
        {6, "*.png"}, {7, "*.eps"}, {8, "*.tga"}, {9, "*.tif"}, {-1, "*.tif"}};
    for (const auto& [type, name] : cases) EXPECT_EQ(InitialSaveName(type), name) << type;
}

TEST(SaveImageNames, ExtensionIsEnforcedIgnoringCase) {
    EXPECT_EQ(EnforceSaveExtension("/d/scan.tiff", 1), "/d/scan.tiff.TIF");
    EXPECT_EQ(EnforceSaveExtension("/d/page.tif", 1), "/d/page.tif");
    EXPECT_EQ(EnforceSaveExtension("/d/PAGE.Tif", 1), "/d/PAGE.Tif");
    EXPECT_EQ(EnforceSaveExtension("/d/photo.jpg", 3), "/d/photo.jpg");
    EXPECT_EQ(EnforceSaveExtension("/d/photo.jpeg", 3), "/d/photo.jpeg.JPG");
    EXPECT_EQ(EnforceSaveExtension("/d/scan", 6), "/d/scan.PNG");
    EXPECT_EQ(EnforceSaveExtension("/d/scan.png", 0), "/d/scan.png.BMP");  // unknown: BMP
}

TEST_F(SaveImage, DialogIsAskedAsTheProgramAlwaysAsks) {
    SettingsStore::write(setting::LastFileType, 3);
    SettingsStore::write(setting::CurrentDir, QString::fromStdString(dir_.path() + "/"));
    MakeGrey(document_.workingImage, 40, 30);
    EXPECT_EQ(SaveImageFile(document_.workingImage, nullptr),
              1);  // nothing scripted: the user cancels
    ASSERT_EQ(dialogs.asked().size(), 1u);
    const AskedQuestion& q = dialogs.asked()[0];
    EXPECT_EQ(q.kind, AskedQuestion::Kind::SaveFile);
    EXPECT_EQ(q.caption, "Save As Graphics File");
    EXPECT_EQ(q.defaultName, "*.jpg");
    EXPECT_EQ(q.filterIndex, 0);  // the list starts at TIFF whatever was used last
    EXPECT_EQ(q.folder, QString::fromStdString(dir_.path() + "/"));
    EXPECT_EQ(q.filter,
              "TIFF File (*.tif);;BMP File (*.bmp);;JPEG File (*.jpg);;PCX File (*.pcx);;"
              "GIF File (*.gif);;PNG File (*.png);;EPS File (*.eps);;TGA File (*.tga)");
    EXPECT_EQ(logLines(), std::vector<std::string>{"Start save image"});
    EXPECT_EQ(SettingsStore::read(setting::LastFileType), 3);
}

TEST_F(SaveImage, PngIsRememberedAsTypeSix) {
    MakeColour(document_.workingImage, 40, 30);
    const std::string sub = dir_.file("pictures");
    ASSERT_EQ(testsupport::run("mkdir " + shellQuote(sub)), 0);
    dialogs.answerSaveFile(QString::fromStdString(sub + "/scan.png"), 5);
    EXPECT_EQ(SaveImageFile(document_.workingImage, nullptr), 0);
    EXPECT_EQ(Identify(sub + "/scan.png"), "PNG 8 40x30");
    EXPECT_EQ(SettingsStore::read(setting::LastFileType), 6);
    EXPECT_EQ(SettingsStore::read(setting::CurrentDir), QString::fromStdString(sub + "/"));
    EXPECT_EQ(countLog("Image saved as " + sub + "/scan.png"), 1);
    EXPECT_TRUE(dialogs.messages().isEmpty());

    // The next save proposes PNG.
    EXPECT_EQ(SaveImageFile(document_.workingImage, nullptr), 1);
    EXPECT_EQ(dialogs.asked().back().defaultName, "*.png");
    EXPECT_EQ(dialogs.asked().back().folder, QString::fromStdString(sub + "/"));
}

TEST_F(SaveImage, EachTypeWritesItsFormat) {
    MakeColour(document_.workingImage, 40, 30);
    const std::pair<int, const char*> types[] = {{0, "TIFF"}, {1, "BMP3"}, {2, "JPEG"},
                                                 {3, "PCX"},  {4, "GIF"},  {7, "TGA"}};
    for (const auto& [index, format] : types) {
        const std::string path = dir_.file("out" + std::to_string(index));
        dialogs.answerSaveFile(QString::fromStdString(path), index);
        ASSERT_EQ(SaveImageFile(document_.workingImage, nullptr), 0) << format;
        const std::string ext = InitialSaveName(index + 1).mid(2).toUpper().toStdString();
        const std::string written = path + "." + ext;
        ASSERT_TRUE(fileExists(written)) << written;
        EXPECT_EQ(Identify(written).substr(0, std::string(format).size()), format) << written;
    }
    // JPEG at quality 75; TIFF uncompressed.
    EXPECT_EQ(capture("/usr/bin/identify -format '%Q' " + shellQuote(dir_.file("out2.JPG"))), "75");
    EXPECT_NE(
        capture("tiffinfo " + shellQuote(dir_.file("out0.TIF"))).find("Compression Scheme: None"),
        std::string::npos);
    // EPS: the PostScript header of the writer.
    dialogs.answerSaveFile(QString::fromStdString(dir_.file("page.eps")), 6);
    ASSERT_EQ(SaveImageFile(document_.workingImage, nullptr), 0);
    EXPECT_EQ(testsupport::readFile(dir_.file("page.eps")).rfind("%!PS-Adobe-2.0 EPSF-2.0", 0), 0u);
}

TEST_F(SaveImage, TiffNameGetsTheEnforcedExtension) {
    MakeGrey(document_.workingImage, 20, 10);
    dialogs.answerSaveFile(QString::fromStdString(dir_.file("scan.tiff")), 0);
    dialogs.answerSaveFile(QString::fromStdString(dir_.file("page.tif")), 0);
    ASSERT_EQ(SaveImageFile(document_.workingImage, nullptr), 0);
    ASSERT_EQ(SaveImageFile(document_.workingImage, nullptr), 0);
    EXPECT_TRUE(fileExists(dir_.file("scan.tiff.TIF")));
    EXPECT_FALSE(fileExists(dir_.file("scan.tiff")));
    EXPECT_TRUE(fileExists(dir_.file("page.tif")));
    EXPECT_FALSE(fileExists(dir_.file("page.tif.TIF")));
    EXPECT_EQ(Identify(dir_.file("scan.tiff.TIF")), "TIFF 8 20x10");
}

TEST_F(SaveImage, BilevelAsTgaIsReportedWithItsCode) {
    MakeBilevel(document_.workingImage, 30, 20);
    dialogs.answerSaveFile(QString::fromStdString(dir_.file("scan.tga")), 7);
    EXPECT_EQ(SaveImageFile(document_.workingImage, nullptr), -26);
    EXPECT_EQ(dialogs.messages(), QStringList{"Error -26 while saving image"});
    EXPECT_EQ(dialogs.asked().back().caption, "Vellumo");
    EXPECT_EQ(countLog("Error -26 while saving image"), 1);
    EXPECT_FALSE(fileExists(dir_.file("scan.tga")));
    EXPECT_EQ(BitsPerPixel(document_.workingImage), 1);  // the image under review stays as it was
    // A folder that cannot be written to: -10.
    dialogs.answerSaveFile(QString::fromStdString(dir_.file("missing/scan.bmp")), 1);
    EXPECT_EQ(SaveImageFile(document_.workingImage, nullptr), -10);
    EXPECT_EQ(dialogs.messages().back(), "Error -10 while saving image");
}

TEST_F(SaveImage, SavingFromThePreviewKeepsImageAndSelection) {
    MakeGrey(document_.workingImage, 120, 90);
    CPreviewDlg dlg{document_.workingImage};
    dlg.show();
    const QRect shown = dlg.displayedImageRect();
    Drag(&dlg, shown.topLeft() + QPoint(10, 10), shown.topLeft() + QPoint(50, 40));
    ASSERT_TRUE(dlg.hasSelection());
    dialogs.answerSaveFile(QString::fromStdString(dir_.file("keep.png")), 5);
    static_cast<QPushButton*>(dlg.control(CPreviewDlg::IDC_SAVE_AS))->click();
    EXPECT_EQ(Identify(dir_.file("keep.png")), "PNG 8 120x90");
    EXPECT_TRUE(dlg.hasSelection());
    EXPECT_TRUE(dlg.control(CPreviewDlg::IDC_CROP)->isEnabled());
    EXPECT_EQ(ImageWidth(document_.workingImage), 120);
    dlg.OnCrop();
    EXPECT_EQ(ImageWidth(document_.workingImage), 41);
}

}  // namespace
}  // namespace editing
