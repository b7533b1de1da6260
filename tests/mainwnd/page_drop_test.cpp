// Drag and drop on the page list of the running program: files dropped from outside join the
// list as "LOAD PAGE" adds them; a thumbnail dragged within the list moves its page. Real drop
// events with real mime data: file addresses of files in a temporary folder, and for moves the
// data the list's own model makes for a drag.
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

#include "document/page_list_ops.h"
#include "mainwnd/page_drop.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "tests/support/main_dialog_access.h"
#include "tests/support/program_fixture.h"
#include "widgets/translucent_button.h"

using namespace vellumo::widgets;
using namespace vellumo::document;
using namespace vellumo::mainwnd;

namespace ux {
namespace {

class PageDrop : public ProgramTest {
protected:
    CPageView* view() const { return mainDialog->pageView(); }
    QPoint center(int row) const { return view()->visualItemRect(view()->item(row)).center(); }

    // Delivers one drop at the viewport point, as the window system does after a drag enter;
    // returns whether the list took it, and with which action.
    bool Drop(QMimeData* data, QPoint at,
              Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction,
              Qt::DropAction* action = nullptr) {
        QDragEnterEvent enter(at, possible, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view()->viewport(), &enter);
        QDropEvent drop(QPointF(at), possible, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view()->viewport(), &drop);
        if (action) *action = drop.dropAction();
        // The load of dropped files runs once the drop is answered.
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }
    static QMimeData* Files(const std::vector<std::string>& paths,
                            const std::vector<QUrl>& others = {}) {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const std::string& p : paths) urls << QUrl::fromLocalFile(QString::fromStdString(p));
        for (const QUrl& u : others) urls << u;
        data->setUrls(urls);
        return data;
    }
    // The data the list's model makes for a drag of the thumbnail at `row`.
    QMimeData* DragOf(int row) const {
        return view()->model()->mimeData({view()->model()->index(row, 0)});
    }
    // The view shows the table: one item per page, in order, each with its page and thumbnail.
    void ExpectViewMatchesTable() const {
        ASSERT_EQ(view()->count(), static_cast<int>(Doc().pages.size()));
        for (int i = 0; i < view()->count(); ++i) {
            const QModelIndex index = view()->model()->index(i, 0);
            EXPECT_EQ(index.data(Qt::UserRole).value<void*>(),
                      Doc().pages[static_cast<size_t>(i)].get());
            EXPECT_EQ(index.data(Qt::DisplayRole).toString(),
                      QStringLiteral("%1 - %2").arg(i + 1).arg(
                          QString::fromStdString(Doc().pages[static_cast<size_t>(i)]->sourcePath)));
            EXPECT_EQ(view()->item(i)->icon().cacheKey(),
                      Doc()
                          .pageImageList.icon(Doc().pages[static_cast<size_t>(i)]->imageIndex)
                          .cacheKey());
        }
    }
};

TEST_F(PageDrop, DroppedFilesLoadInOrderExactlyAsLoadPageLoadsThem) {
    const std::string a = MakeImage("a.bmp"), bad = MakeDamagedPng("bad.png"),
                      c = MakeImage("c.tif");
    const std::string folder = dir_.file("folder");
    ASSERT_EQ(testsupport::run("mkdir " + testsupport::shellQuote(folder)), 0);

    // The same files through "LOAD PAGE", for the record of what it does.
    LoadPages({a, c});
    Forget();
    dialogs_.answerOpenFiles(Q({a, bad, folder, c}));
    mainDialog->control(2040)->click();
    QCoreApplication::processEvents();
    const std::vector<std::string> loadLog = LogLines();
    const QStringList loadMessages = dialogs_.messages();
    ASSERT_EQ(Doc().pages.size(), 4u);
    Doc().FreeAllPages();
    Doc().RebuildPageView();

    Forget();
    Qt::DropAction action = Qt::IgnoreAction;
    std::unique_ptr<QMimeData> data(
        Files({a, bad, folder, c}, {QUrl(QStringLiteral("https://example.org/d.png"))}));
    EXPECT_TRUE(Drop(data.get(), QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, &action));
    // Taken as a copy: the program that sent the files never deletes them.
    EXPECT_EQ(action, Qt::CopyAction);
    EXPECT_EQ(PageSources(), (std::vector<std::string>{a, c}));
    EXPECT_TRUE(testsupport::fileExists(a));
    // One box for the damaged file and one for the folder, the log line for line as LOAD PAGE's.
    EXPECT_EQ(dialogs_.messages(),
              QStringList({"Unsupported graphics format", "Unsupported graphics format"}));
    EXPECT_EQ(dialogs_.messages(), loadMessages);
    EXPECT_EQ(LogLines(), loadLog);
    EXPECT_EQ(CountLog("File to load: " + bad), 1);
    EXPECT_EQ(CountLog("Image(s) loaded"), 1);
    ExpectViewMatchesTable();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(skin_->pageCountButton()->currentImage(), CVellumoTranslucentDlg::pageCountImage(3));
    // The folder of the last file is the one LOAD PAGE offers next.
    EXPECT_EQ(mainDialog->currentDir, QString::fromStdString(dir_.path() + "/"));
}

TEST_F(PageDrop, DropsOfAnythingElseAreRefused) {
    const std::string a = MakeImage("a.png");
    Forget();
    QMimeData text;
    text.setText(QString::fromStdString(a));
    EXPECT_FALSE(Drop(&text, QPoint(10, 10)));
    std::unique_ptr<QMimeData> web(Files({}, {QUrl(QStringLiteral("https://example.org/a.png"))}));
    EXPECT_FALSE(Drop(web.get(), QPoint(10, 10)));
    // A sender that offers only to move its files away gets no drop.
    std::unique_ptr<QMimeData> moveOnly(Files({a}));
    EXPECT_FALSE(Drop(moveOnly.get(), QPoint(10, 10), Qt::MoveAction));
    // A page of another process's list is not one of ours.
    QMimeData foreign;
    foreign.setData(QString::fromLatin1(kPageDragFormat), "1 0");
    EXPECT_FALSE(Drop(&foreign, QPoint(10, 10)));
    EXPECT_TRUE(Doc().pages.empty());
    EXPECT_TRUE(dialogs_.asked().empty());
    EXPECT_TRUE(LogLines().empty());

    // While a long operation holds the window nothing joins.
    mainDialog->setEnabled(false);
    std::unique_ptr<QMimeData> files(Files({a}));
    EXPECT_FALSE(Drop(files.get(), QPoint(10, 10)));
    mainDialog->setEnabled(true);
    EXPECT_TRUE(Doc().pages.empty());
    EXPECT_TRUE(Drop(files.get(), QPoint(10, 10)));
    EXPECT_EQ(PageSources(), std::vector<std::string>{a});
}

TEST_F(PageDrop, DraggingAThumbnailMovesItsPageLikeRepeatedMoves) {
    std::vector<std::string> f;
    for (const char* name : {"p0.png", "p1.jpg", "p2.tif", "p3.bmp"}) f.push_back(MakeImage(name));
    LoadPages(f);
    Forget();

    // Page 0 dropped on page 2: it takes page 2's place, the others close up.
    std::unique_ptr<QMimeData> drag(DragOf(0));
    ASSERT_GE(DraggedPageRow(*drag), 0);
    view()->scrollToItem(view()->item(2));
    Qt::DropAction action = Qt::IgnoreAction;
    EXPECT_TRUE(Drop(drag.get(), center(2), Qt::CopyAction | Qt::MoveAction, &action));
    // Never a move action: the list's drag would take the dragged item out of the view.
    EXPECT_EQ(action, Qt::CopyAction);
    EXPECT_EQ(PageSources(), (std::vector<std::string>{f[1], f[2], f[0], f[3]}));
    EXPECT_EQ(view()->selectedRow(), 2);
    ExpectViewMatchesTable();

    // The same as "Move up" three times: page 3 to the top.
    const std::vector<std::string> before = PageSources();
    view()->selectRow(3);
    vellumo::document::MovePageUp(Doc(), vellumo::mainwnd::mainDialog.data());
    vellumo::document::MovePageUp(Doc(), vellumo::mainwnd::mainDialog.data());
    vellumo::document::MovePageUp(Doc(), vellumo::mainwnd::mainDialog.data());
    const std::vector<std::string> byMoves = PageSources();
    for (int i = 0; i < 3; ++i)
        vellumo::document::MovePageDown(
            Doc(), vellumo::mainwnd::mainDialog.data());  // back as it was (selection follows)
    ASSERT_EQ(PageSources(), before);
    drag.reset(DragOf(3));
    view()->scrollToItem(view()->item(0));
    EXPECT_TRUE(Drop(drag.get(), center(0)));
    EXPECT_EQ(PageSources(), byMoves);
    EXPECT_EQ(view()->selectedRow(), 0);
    ExpectViewMatchesTable();

    // Dropped on itself or on the empty space after the last page.
    const std::vector<std::string> now = PageSources();
    drag.reset(DragOf(1));
    view()->scrollToItem(view()->item(1));
    EXPECT_TRUE(Drop(drag.get(), center(1)));
    EXPECT_EQ(PageSources(), now);
    drag.reset(DragOf(0));
    view()->scrollToBottom();
    EXPECT_TRUE(Drop(drag.get(), QPoint(10, view()->viewport()->height() - 2)));
    EXPECT_EQ(PageSources().back(), now.front());

    // Moves change no files, ask nothing, and leave the count alone.
    EXPECT_TRUE(dialogs_.asked().empty());
    EXPECT_EQ(Doc().pages.size(), 4u);
    for (const auto& page : Doc().pages) EXPECT_TRUE(page->workingPath.empty());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(skin_->pageCountButton()->currentImage(), CVellumoTranslucentDlg::pageCountImage(5));
}

TEST_F(PageDrop, ADragNearTheBottomEdgeScrollsTheListUntilItLeaves) {
    LoadPages({MakeImage("a.png"), MakeImage("b.png"), MakeImage("c.png"), MakeImage("d.png")});
    view()->scrollToTop();
    QScrollBar* bar = view()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    ASSERT_EQ(bar->value(), 0);
    std::unique_ptr<QMimeData> drag(DragOf(0));
    const QPoint nearBottom(20, view()->viewport()->height() - 5);
    QDragEnterEvent enter(nearBottom, Qt::CopyAction | Qt::MoveAction, drag.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(view()->viewport(), &enter);
    QDragMoveEvent move(nearBottom, Qt::CopyAction | Qt::MoveAction, drag.get(), Qt::LeftButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(view()->viewport(), &move);
    EXPECT_TRUE(move.isAccepted());
    QTest::qWait(300);
    const int scrolled = bar->value();
    EXPECT_GT(scrolled, 0);

    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(view()->viewport(), &leave);
    QTest::qWait(200);
    EXPECT_EQ(bar->value(), scrolled);
}

TEST_F(PageDrop, TheListStartsDragsOfItsThumbnails) {
    LoadPages({MakeImage("a.png"), MakeImage("b.png")});
    EXPECT_TRUE(view()->dragEnabled());
    EXPECT_TRUE(view()->viewport()->acceptDrops());
    std::unique_ptr<QMimeData> drag(DragOf(1));
    EXPECT_EQ(DraggedPageRow(*drag), 1);
    // A drag of a page is no file drop.
    EXPECT_TRUE(DroppedFiles(*drag).isEmpty());
}

}  // namespace
}  // namespace ux
