#include <QMenu>
#include <QScrollBar>

#include "document/page_list_ops.h"
#include "mainwnd/controls.h"
#include "tests/support/mainwnd_fixture.h"

namespace ctl = vellumo::mainwnd::id;
using namespace vellumo::document;
using namespace vellumo::mainwnd;

namespace {

using testsupport::fileExists;

// ---- Thumbnails ----

struct SizeCase {
    uint32_t w, h;
    int tw, th;
};

TEST(ThumbnailSize, FitsTheCellWithoutEnlarging) {
    const SizeCase cases[] = {
        {1000, 2000, 130, 260}, {2000, 1000, 260, 130}, {200, 100, 200, 100}, {260, 261, 259, 260},
        {260, 260, 260, 260},   {3000, 3000, 260, 260}, {261, 100, 260, 99}};
    for (const SizeCase& c : cases)
        EXPECT_EQ(ThumbnailSize(c.w, c.h), QSize(c.tw, c.th)) << c.w << " x " << c.h;
}

// The number of pixels of the middle row and column that are not the cell's grey.
QSize PictureExtent(const ImageBuffer& cell) {
    int across = 0, down = 0;
    for (uint32_t x = 0; x < 260; ++x)
        if (RowPointer(cell, 130)[x * 3] != 227) ++across;
    for (uint32_t y = 0; y < 260; ++y)
        if (RowPointer(cell, y)[130 * 3] != 227) ++down;
    return {across, down};
}

TEST_F(MainWindowTest, ThumbnailsOfRealFilesSitCentredOnGrey) {
    // Working areas whose right - left and bottom - top are the sizes named.
    const SizeCase cases[] = {
        {1000, 2000, 130, 260}, {2000, 1000, 260, 130}, {200, 100, 200, 100}, {260, 261, 259, 260}};
    for (const SizeCase& c : cases) {
        const std::string file = makeImageFile("page.png", static_cast<int>(c.w) + 1,
                                               static_cast<int>(c.h) + 1, "black");
        ScopedImage image;
        ASSERT_EQ(ReadImageFile(file.c_str(), image.image), 0);
        ASSERT_EQ(doc().MakeThumbnail(image.image), 0);
        ASSERT_EQ(ImageWidth(doc().thumbnailImage), 260);
        ASSERT_EQ(ImageHeight(doc().thumbnailImage), 260);
        EXPECT_EQ(BitsPerPixel(doc().thumbnailImage), 24);
        EXPECT_EQ(doc().thumbnailImage.areaRight, 259u);
        EXPECT_EQ(PictureExtent(doc().thumbnailImage), QSize(c.tw, c.th)) << c.w << " x " << c.h;
        // Grey 227 in every channel in the corner, black in the middle.
        const uint8_t* corner = RowPointer(doc().thumbnailImage, 0);
        EXPECT_EQ(corner[0], 227);
        EXPECT_EQ(corner[1], 227);
        EXPECT_EQ(corner[2], 227);
        EXPECT_EQ(RowPointer(doc().thumbnailImage, 130)[130 * 3], 0);
        // Centred: as much grey on the left as on the right, give or take one pixel.
        int left = 0;
        while (left < 260 && RowPointer(doc().thumbnailImage, 130)[left * 3] == 227) ++left;
        EXPECT_LE(std::abs((260 - c.tw) / 2 - left), 1);
    }
    const std::string logText = log();
    EXPECT_NE(logText.find(" - Started making thumbnail\n"), std::string::npos);
    EXPECT_NE(logText.find(" - Successfully made thumbnail\n"), std::string::npos);
}

TEST_F(MainWindowTest, EmptyImageMakesNoThumbnail) {
    ImageBuffer empty{};
    EXPECT_EQ(doc().MakeThumbnail(empty), -1);
    EXPECT_EQ(log().find("Started making thumbnail"), std::string::npos);
}

// ---- The table ----

TEST_F(MainWindowTest, PagesAppendWithGrowingImageListAndDerivedCounter) {
    EXPECT_EQ(doc().pageCounter(), 1);
    const std::string loaded = makeImageFile("mine.png", 50, 30, "white");
    appendFilePage(loaded, 0);
    const std::string scanned = appendScannedPage();
    EXPECT_EQ(doc().pageCounter(), 3);
    EXPECT_EQ(doc().pages[0]->imageIndex + 1, doc().pages[1]->imageIndex);
    EXPECT_EQ(PagePath(*doc().pages[0]), loaded);
    addWorkingCopy(0);
    EXPECT_EQ(PagePath(*doc().pages[0]), doc().pages[0]->workingPath);

    // Page files are private temporary files named VW....tmp.TIF.
    const std::string name = scanned.substr(scanned.find_last_of('/') + 1);
    EXPECT_EQ(name.rfind("VW", 0), 0u);
    EXPECT_EQ(name.substr(name.size() - 8), ".tmp.TIF");
    EXPECT_EQ(scanned.rfind(tempDir(), 0), 0u);

    // The table is not limited to a thousand pages.
    const int slotsBefore = doc().pageImageList.count();
    for (int i = 0; i < 1001; ++i) doc().AppendPage(loaded, 0);
    EXPECT_EQ(doc().pageCounter(), 1004);
    EXPECT_EQ(doc().pageImageList.count(), slotsBefore + 1001);
}

TEST_F(MainWindowTest, DeletedPagesKeepTheirFilesForUndoButNeverLoseTheUsersFile) {
    CPageView view;
    MessageRecorder skin;
    vellumo::mainwnd::ConnectPageView(doc(), &view, &skin);
    const std::string loaded = makeImageFile("mine.png", 50, 30, "white");
    appendFilePage(loaded, 0);
    const std::string scanned = appendScannedPage();
    const std::string loadedCopy = addWorkingCopy(0);
    const std::string scannedCopy = addWorkingCopy(1);
    doc().RebuildPageView();
    const int slotCount = doc().pageImageList.count();
    const int keptSlot = doc().pages[1]->imageIndex;

    // No: nothing happens.
    dialogs().answerMessage(Answer::No);
    doc().currentItem = 0;
    vellumo::document::DeletePage(doc(), nullptr);
    EXPECT_EQ(doc().pageCounter(), 3);
    ASSERT_EQ(dialogs().asked().size(), 1u);
    EXPECT_EQ(dialogs().asked()[0].text, QStringLiteral("Delete this image?"));
    EXPECT_EQ(dialogs().asked()[0].caption, QStringLiteral("Vellumo"));
    EXPECT_EQ(dialogs().asked()[0].buttons, MessageButtons::YesNo);

    // The loaded page goes; its working copy stays while an undo can bring it back.
    dialogs().answerMessage(Answer::Yes);
    vellumo::document::DeletePage(doc(), nullptr);
    EXPECT_EQ(doc().pageCounter(), 2);
    EXPECT_TRUE(fileExists(loaded));
    EXPECT_TRUE(fileExists(loadedCopy));
    EXPECT_EQ(doc().pages[0]->imageIndex, keptSlot);
    EXPECT_EQ(doc().pageImageList.count(), slotCount);  // the slot stays behind
    EXPECT_EQ(view.count(), 1);

    dialogs().answerMessage(Answer::Yes);
    doc().currentItem = 0;
    vellumo::document::DeletePage(doc(), nullptr);
    EXPECT_EQ(doc().pageCounter(), 1);
    EXPECT_TRUE(fileExists(scanned));
    EXPECT_EQ(view.count(), 0);
    EXPECT_EQ(doc().pageImageList.count(), slotCount);

    // Once nothing can bring the pages back, the program's own files go, the user's never.
    doc().EndSession();
    EXPECT_TRUE(fileExists(loaded));
    EXPECT_FALSE(fileExists(loadedCopy));
    EXPECT_FALSE(fileExists(scanned));
    EXPECT_FALSE(fileExists(scannedCopy));
    const std::string text = log();
    EXPECT_NE(text.find(" - Start delete image\r\n"), std::string::npos);
    EXPECT_NE(text.find(" - Deleting temp file " + loadedCopy + "\n"), std::string::npos);
    EXPECT_NE(text.find(" - Deleting temp file " + scanned + "\n"), std::string::npos);
    EXPECT_NE(text.find(" - Deleting temp file " + scannedCopy + "\n"), std::string::npos);
    EXPECT_EQ(text.find("Deleting temp file " + loaded + "\n"), std::string::npos);

    // Each change of the count reached the skin window with the counter.
    ProcessEventsFor(0);
    ASSERT_TRUE(skin.last(msg::UM_PAGECOUNT).has_value());
    EXPECT_EQ(*skin.last(msg::UM_PAGECOUNT), 1u);
    int counts = 0;
    for (const auto& [m, w] : skin.received) counts += m == msg::UM_PAGECOUNT;
    EXPECT_EQ(counts, 2);
}

TEST_F(MainWindowTest, MovesAtTheEndsAndWithOnePage) {
    CPageView view;
    vellumo::mainwnd::ConnectPageView(doc(), &view, nullptr);
    const std::string a = makeImageFile("a.png", 20, 20);
    const std::string b = makeImageFile("b.png", 20, 20);
    const std::string c = makeImageFile("c.png", 20, 20);
    appendFilePage(a, 0);
    doc().RebuildPageView();

    // Nothing selected.
    vellumo::document::MovePageUp(doc(), nullptr);
    vellumo::document::MovePageDown(doc(), nullptr);
    EXPECT_EQ(dialogs().messages(), QStringList({"No page selected", "No page selected"}));
    EXPECT_EQ(dialogs().asked()[0].icon, MessageIcon::Exclamation);
    dialogs().clear();

    // One page: up is the first item (nothing), down has no need.
    view.selectRow(0);
    vellumo::document::MovePageUp(doc(), nullptr);
    EXPECT_TRUE(dialogs().asked().empty());
    vellumo::document::MovePageDown(doc(), nullptr);
    EXPECT_EQ(dialogs().messages(), QStringList({"No need to move page"}));
    dialogs().clear();

    appendFilePage(b, 0);
    appendFilePage(c, 0);
    doc().RebuildPageView();
    auto order = [this] {
        std::string s;
        for (const auto& p : doc().pages) s += p->sourcePath.substr(p->sourcePath.size() - 5, 1);
        return s;
    };
    view.selectRow(0);
    vellumo::document::MovePageUp(doc(), nullptr);  // the first page: nothing
    view.selectRow(2);
    vellumo::document::MovePageDown(doc(), nullptr);  // the last page: nothing
    EXPECT_EQ(order(), "abc");
    EXPECT_TRUE(dialogs().asked().empty());

    view.selectRow(0);
    vellumo::document::MovePageDown(doc(), nullptr);
    EXPECT_EQ(order(), "bac");
    EXPECT_EQ(view.selectedRow(), 1);  // the moved page stays selected
    vellumo::document::MovePageDown(doc(), nullptr);
    EXPECT_EQ(order(), "bca");
    vellumo::document::MovePageUp(doc(), nullptr);
    EXPECT_EQ(order(), "bac");
    EXPECT_EQ(view.selectedRow(), 1);
    EXPECT_EQ(view.item(1)->text(), QString::fromStdString("2 - " + a));  // numbers follow
    EXPECT_EQ(doc().pageCounter(), 4);
}

TEST_F(MainWindowTest, ClearWithYesAndNo) {
    CPageView view;
    MessageRecorder skin;
    vellumo::mainwnd::ConnectPageView(doc(), &view, &skin);
    const std::string loaded = makeImageFile("mine.png", 30, 30);
    appendFilePage(loaded, 0);
    const std::string scanned = appendScannedPage();
    const std::string copy = addWorkingCopy(1);
    doc().RebuildPageView();

    dialogs().answerMessage(Answer::No);
    vellumo::document::ClearPages(doc(), nullptr, QStringLiteral("Clear list of pages to send?"));
    EXPECT_EQ(doc().pageCounter(), 3);
    EXPECT_EQ(view.count(), 2);
    EXPECT_NE(log().find(" - Images and attachments kept\r\n"), std::string::npos);

    dialogs().answerMessage(Answer::Yes);
    vellumo::document::ClearPages(doc(), nullptr,
                                  QStringLiteral("Clear list of pages to save or send?"));
    EXPECT_EQ(doc().pageCounter(), 1);
    EXPECT_EQ(view.count(), 0);
    EXPECT_TRUE(fileExists(copy));  // an undo can bring the pages back
    EXPECT_TRUE(fileExists(scanned));
    EXPECT_TRUE(fileExists(loaded));
    EXPECT_NE(log().find(" - Images and attachments deleted\r\n"), std::string::npos);
    EXPECT_EQ(dialogs().messages(), QStringList({"Clear list of pages to send?",
                                                 "Clear list of pages to save or send?"}));
    ProcessEventsFor(0);
    int counts = 0;
    for (const auto& [m, w] : skin.received) counts += m == msg::UM_PAGECOUNT;
    EXPECT_EQ(counts, 2);
    EXPECT_EQ(*skin.last(msg::UM_PAGECOUNT), 1u);
}

TEST_F(MainWindowTest, ItemTextsViewerAndContextMenu) {
    CPageView view;
    view.resize(286, 429);
    vellumo::mainwnd::ConnectPageView(doc(), &view, nullptr);
    const std::string loaded = makeImageFile("mine.png", 30, 30);
    appendFilePage(loaded, 0);
    appendScannedPage();
    doc().RebuildPageView();
    EXPECT_EQ(view.item(0)->text(), QString::fromStdString("1 - " + loaded));
    EXPECT_EQ(view.item(1)->text(), QStringLiteral("2 - Scanned"));
    EXPECT_EQ(view.viewMode(), QListView::IconMode);
    EXPECT_EQ(view.palette().color(QPalette::Base), QColor(227, 227, 227));

    // No viewer beside the program: the desktop opens the page's current file.
    view.OpenInViewer();
    EXPECT_TRUE(dialogs().asked().empty());  // nothing selected
    const std::string copy = addWorkingCopy(0);
    view.selectRow(0);
    view.OpenInViewer();
    ASSERT_EQ(dialogs().asked().size(), 1u);
    EXPECT_EQ(dialogs().asked()[0].kind, AskedQuestion::Kind::OpenFile);
    EXPECT_EQ(dialogs().asked()[0].text, QString::fromStdString(copy));
    // The viewer beside the program gets every page of the list, in order, and where to start.
    EXPECT_EQ(ViewerArguments(doc(), 1),
              QStringList({"--show", "2", "--page", "1", QString::fromStdString(copy), "--page",
                           "1", QString::fromStdString(PagePath(*doc().pages[1]))}));

    // A right click on an item makes it current; on the empty space below it does not.
    view.resize(286, 1000);  // room below the last item
    view.show();
    const QRect second = view.visualItemRect(view.item(1));
    doc().currentItem = 0;
    EXPECT_TRUE(view.rightClickAt(second.center()));
    EXPECT_EQ(doc().currentItem, 1);
    ASSERT_LT(second.bottom() + 10, view.viewport()->height());
    EXPECT_FALSE(view.rightClickAt(QPoint(second.center().x(), second.bottom() + 10)));
    EXPECT_EQ(doc().currentItem, 1);
    EXPECT_NE(log().find(" - OnClickListThumbRight\n"), std::string::npos);

    QMenu menu;
    view.BuildPageMenu(menu);
    QStringList texts;
    QList<int> ids;
    for (QAction* a : menu.actions()) {
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        ids << a->data().toInt();
    }
    EXPECT_EQ(texts, QStringList({"&Undo",
                                  "&Redo",
                                  "-",
                                  "Rotate &right",
                                  "Rotate &left",
                                  "&Invert",
                                  "&Mirror",
                                  "-",
                                  "&Delete",
                                  "-",
                                  "Move &up",
                                  "Move do&wn",
                                  "-",
                                  "Straighten",
                                  "Turn upright",
                                  "-",
                                  "Delete blank pages",
                                  "Interleave (fronts, then backs)",
                                  "Interleave, backs reversed",
                                  "Reverse order"}));
    EXPECT_EQ(ids, QList<int>({3160, 3170, 0, 3050, 3060, 3020, 3040, 0,    2270, 0,
                               3080, 3090, 0, 3100, 3110, 0,    3120, 3130, 3140, 3150}));
    // Without a main window no entry is held back.
    for (QAction* a : menu.actions()) EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
}

// ---- Deleting in a long list ----

TEST_F(MainWindowTest, DeleteKeepsTheSelectionOnTheNextPageAndTheScrollPlace) {
    CPageView view;
    view.resize(600, 500);
    view.show();
    vellumo::mainwnd::ConnectPageView(doc(), &view, nullptr);
    const std::string file = makeImageFile("page.png", 40, 60);
    for (int i = 0; i < 30; ++i) appendFilePage(file, 0);
    doc().RebuildPageView();
    ProcessEventsFor(0);
    QScrollBar* bar = view.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    // New pages are shown at the end.
    EXPECT_EQ(bar->value(), bar->maximum());

    // The user scrolls to the middle and deletes the page shown there.
    bar->setValue(bar->maximum() / 2);
    const int place = bar->value();
    const int row = view.row(view.itemAt(view.viewport()->rect().center()));
    ASSERT_GT(row, 2);
    view.item(row)->setSelected(true);
    doc().currentItem = row;
    dialogs().answerMessage(Answer::Yes);
    vellumo::document::DeletePage(doc(), nullptr);
    ASSERT_EQ(view.count(), 29);
    EXPECT_EQ(view.selectedRow(), row);  // the page that followed takes the selection
    EXPECT_EQ(bar->value(), place);
    EXPECT_EQ(view.item(row)->text(), QStringLiteral("%1 - %2").arg(row + 1).arg(file.c_str()));
    EXPECT_EQ(view.item(28)->text(), QString::fromStdString("29 - " + file));

    // Deleting a page before the selected one keeps the selection on its page.
    doc().currentItem = 2;
    dialogs().answerMessage(Answer::Yes);
    vellumo::document::DeletePage(doc(), nullptr);
    EXPECT_EQ(view.selectedRow(), row - 1);
    EXPECT_EQ(bar->value(), place);

    // Deleting the last page selects the new last one.
    view.selectRow(27);
    doc().currentItem = 27;
    dialogs().answerMessage(Answer::Yes);
    vellumo::document::DeletePage(doc(), nullptr);
    EXPECT_EQ(view.selectedRow(), 26);
}

}  // namespace
