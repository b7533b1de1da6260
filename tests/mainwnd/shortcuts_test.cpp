// The keys of the main view, pressed on the real main dialog and its page list.
#include <QAbstractButton>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include "document/page_list_ops.h"
#include "mainwnd/controls.h"
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

class Shortcuts : public ProgramTest {
protected:
    CPageView* view() const { return mainDialog->pageView(); }
    std::vector<AskedQuestion::Kind> Kinds() const {
        std::vector<AskedQuestion::Kind> kinds;
        for (const AskedQuestion& q : dialogs_.asked()) kinds.push_back(q.kind);
        return kinds;
    }
};

TEST_F(Shortcuts, DeleteAsksAndRemovesTheSelectedPageOnlyOnYes) {
    const std::vector<std::string> f = {MakeImage("a.png"), MakeImage("b.png"), MakeImage("c.png")};
    LoadPages(f);
    Forget();
    // Nothing selected: the key does nothing.
    view()->clearSelection();
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_TRUE(dialogs_.asked().empty());

    view()->selectRow(1);
    dialogs_.answerMessage(Answer::No);
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_EQ(dialogs_.messages(), QStringList({"Delete this image?"}));
    EXPECT_EQ(dialogs_.asked()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(PageSources(), f);

    dialogs_.answerMessage(Answer::Yes);
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_EQ(PageSources(), (std::vector<std::string>{f[0], f[2]}));
    EXPECT_EQ(CountLog("Start delete image"), 1);
    // The user's own file stays.
    EXPECT_TRUE(testsupport::fileExists(f[1]));

    // With the focus on the main window rather than the list.
    view()->selectRow(0);
    mainDialog->setFocus();
    dialogs_.answerMessage(Answer::Yes);
    QTest::keyClick(mainDialog.data(), Qt::Key_Delete);
    EXPECT_EQ(PageSources(), std::vector<std::string>{f[2]});
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(skin_->pageCountButton()->currentImage(), CVellumoTranslucentDlg::pageCountImage(2));
}

TEST_F(Shortcuts, CtrlOOpensTheLoadDialogAndCtrlSTheSaveDialog) {
    const std::string a = MakeImage("a.png");
    Forget();
    dialogs_.answerOpenFiles(Q({a}));
    QTest::keyClick(view(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(Kinds(), std::vector<AskedQuestion::Kind>{AskedQuestion::Kind::OpenFiles});
    EXPECT_EQ(dialogs_.asked()[0].caption, QStringLiteral("Select file(s) to load"));
    EXPECT_EQ(PageSources(), std::vector<std::string>{a});

    Forget();
    mainDialog->setFocus();
    QTest::keyClick(mainDialog.data(), Qt::Key_S, Qt::ControlModifier);  // cancelled
    ASSERT_EQ(Kinds(), std::vector<AskedQuestion::Kind>{AskedQuestion::Kind::SaveFile});
    EXPECT_EQ(dialogs_.asked()[0].caption, QStringLiteral("Select PDF file to save to"));
    EXPECT_EQ(LogLines(), std::vector<std::string>{"Start saving to PDF"});

    // The keys from a button of the window.
    Forget();
    mainDialog->control(1072)->setFocus();
    QTest::keyClick(mainDialog->control(1072), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Kinds(), std::vector<AskedQuestion::Kind>{AskedQuestion::Kind::OpenFiles});
}

TEST_F(Shortcuts, EscapeLeavesTheWindowOpen) {
    LoadPages({MakeImage("a.png")});
    Forget();
    QTest::keyClick(view(), Qt::Key_Escape);
    QTest::keyClick(mainDialog.data(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_TRUE(skin_->isVisible());
    EXPECT_TRUE(mainDialog->isVisible());
    EXPECT_TRUE(dialogs_.asked().empty());
    EXPECT_EQ(Doc().pages.size(), 1u);
}

TEST_F(Shortcuts, KeysWaitWhileAModalDialogIsUpOrTheWindowIsBusy) {
    LoadPages({MakeImage("a.png")});
    view()->selectRow(0);
    Forget();
    QDialog modal(mainDialog);
    modal.setWindowTitle(QStringLiteral("modal"));
    QTimer::singleShot(0, &modal, [&] {
        QTest::keyClick(view(), Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(view(), Qt::Key_Delete);
        QTest::keyClick(&modal, Qt::Key_S, Qt::ControlModifier);
        modal.reject();
    });
    modal.exec();
    EXPECT_TRUE(dialogs_.asked().empty()) << "under a modal dialog";

    // Disabled by a long operation.
    mainDialog->setEnabled(false);
    QTest::keyClick(mainDialog.data(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(view(), Qt::Key_Delete);
    mainDialog->setEnabled(true);
    EXPECT_TRUE(dialogs_.asked().empty()) << "while disabled";

    // The settings view hides the page list and the buttons: the keys rest too.
    // (The General page it opens reads the default printer's paper, through the same seam.)
    mainDialog->OnCommand(vellumo::mainwnd::id::SettingsTab);
    QTest::keyClick(mainDialog.data(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(mainDialog.data(), Qt::Key_Delete);
    for (const auto& question : dialogs_.asked())
        EXPECT_EQ(question.kind, vellumo::platform::AskedQuestion::Kind::DefaultPrinter)
            << question.text.toStdString();
    EXPECT_EQ(Doc().pages.size(), 1u);
}

}  // namespace
}  // namespace ux
