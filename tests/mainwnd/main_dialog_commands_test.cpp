// The editing commands as the running program offers them: "LOAD PAGE" on the main dialog's
// button and the page transforms from the page list's context menu.
#include <QAbstractButton>
#include <memory>

#include "document/page_list_ops.h"
#include "editing/page_transforms.h"
#include "mainwnd/controls.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "res/resources.h"
#include "scanning/twain_pro.h"
#include "tests/support/editing_fixtures.h"
#include "tests/support/main_dialog_access.h"
#include "widgets/translucent_button.h"

namespace ctl = vellumo::mainwnd::id;

using namespace vellumo::widgets;
using namespace vellumo::res;
using namespace vellumo::document;
using namespace vellumo::editing;
using namespace vellumo::scanning;
using namespace vellumo::mainwnd;

namespace editing {
namespace {

class MainDialogCommands : public EditingTest {
protected:
    void SetUp() override {
        EditingTest::SetUp();
        InitVellumoResources();
        skin = std::make_unique<CVellumoTranslucentDlg>(MainDialogFactory());
        skin->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(mainDialog);
        // The start-up source selection logs from the GUI thread once discovery is done.
        if (twainPro) twainPro->WaitUntilReady();
        // The main dialog fixes the log in the documents folder; this test reads its own.
        logPath = log_;
        loggingOn = 1;
    }
    void TearDown() override {
        if (mainDialog) Doc().FreeAllPages();
        skin.reset();
        EditingTest::TearDown();
    }
    ScriptedDialogs dialogs;
    std::unique_ptr<CVellumoTranslucentDlg> skin;
};

TEST_F(MainDialogCommands, LoadPageButtonAndContextMenuTransforms) {
    QAbstractButton* load = mainDialog->control(ctl::LoadPage);
    ASSERT_NE(load, nullptr);
    ASSERT_TRUE(load->isEnabled());

    Image picture;
    MakeColour(picture.buffer, 120, 80);
    const std::string file = dir_.file("page.bmp");
    ASSERT_EQ(SaveBmp(file.c_str(), picture.buffer, 0), 0);
    dialogs.answerOpenFiles(QStringList{QString::fromStdString(file)});
    load->click();
    QCoreApplication::processEvents();

    ASSERT_EQ(Doc().pages.size(), 1u);
    EXPECT_EQ(Doc().pages[0]->sourcePath, file);
    EXPECT_EQ(mainDialog->pageView()->count(), 1);
    EXPECT_EQ(skin->pageCountButton()->currentImage(), CVellumoTranslucentDlg::pageCountImage(2));

    Doc().currentItem = 0;
    emit mainDialog->pageView()->pageCommand(ctl::RotateLeft);
    ASSERT_FALSE(Doc().pages[0]->workingPath.empty());
    Image turned;
    ASSERT_EQ(ReadImageFile(Doc().pages[0]->workingPath.c_str(), turned.buffer), 0);
    EXPECT_EQ(ImageWidth(turned.buffer), 80);
    EXPECT_EQ(ImageHeight(turned.buffer), 120);
    EXPECT_EQ(countLog("End rotate left"), 1);
}

}  // namespace
}  // namespace editing
