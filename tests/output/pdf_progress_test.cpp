// The page count of a PDF build in the activity dialog's bar: "SAVE AS PDF" and "MAIL AS PDF"
// on real pages, the bar watched as the build runs.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QProgressBar>

#include "widgets/activity_dialog.h"
#include "mainwnd/controls.h"
#include "document/page_list_ops.h"
#include "mainwnd/vellumo_dlg.h"
#include "platform/settings_store.h"
#include "tests/support/program_fixture.h"
#include "tests/support/main_dialog_access.h"

namespace ctl = vellumo::mainwnd::id;

using namespace vellumo::platform;
using namespace vellumo::widgets;
using namespace vellumo::document;
using namespace vellumo::mainwnd;

namespace ux {
namespace {

// What the bar showed each time its value changed, with the status line above it.
struct BarState {
    int value;
    int maximum;
    QString text;
    bool textVisible;
    bool visible;
    QString status;
};

class PdfProgress : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        bar_ = qobject_cast<QProgressBar*>(activityDialog->control(CActivityDialog::IDC_PROGRESS));
        ASSERT_NE(bar_, nullptr);
        QObject::connect(bar_, &QProgressBar::valueChanged, [this](int value) {
            seen_.push_back({value, bar_->maximum(), bar_->text(), bar_->isTextVisible(),
                             bar_->isVisibleTo(activityDialog) && activityDialog->isVisible(),
                             activityDialog->statusText()});
        });
    }
    // The page counts the bar showed, in order.
    std::vector<BarState> PageStates() const {
        std::vector<BarState> list;
        for (const BarState& s : seen_)
            if (s.textVisible) list.push_back(s);
        return list;
    }
    void ExpectPages(int n) const {
        const std::vector<BarState> shown = PageStates();
        ASSERT_EQ(shown.size(), static_cast<size_t>(n));
        for (int j = 1; j <= n; ++j) {
            const BarState& s = shown[static_cast<size_t>(j - 1)];
            EXPECT_EQ(s.value, j);
            EXPECT_EQ(s.maximum, n);
            EXPECT_EQ(s.text, QStringLiteral("Page %1 of %2").arg(j).arg(n));
            EXPECT_TRUE(s.visible) << j;
            EXPECT_EQ(s.status, QStringLiteral("Creating PDF..."));
        }
    }
    void ExpectBarIdle() const {
        EXPECT_FALSE(bar_->isVisibleTo(activityDialog));
        EXPECT_FALSE(bar_->isTextVisible());
        EXPECT_EQ(bar_->maximum(), 100);
        EXPECT_LT(bar_->value(), bar_->minimum());  // emptied
        EXPECT_FALSE(activityDialog->isVisible());
        EXPECT_TRUE(mainDialog->isEnabled());
    }

    QProgressBar* bar_ = nullptr;
    std::vector<BarState> seen_;
};

TEST_F(PdfProgress, SaveShowsEveryPageInOrderThenHidesTheBar) {
    LoadPages({MakeImage("bw.tif"), MakeImage("grey.png"), MakeImage("colour.jpg"),
               MakeImage("more.png")});
    const std::string out = dir_.file("four.pdf");
    Forget();
    dialogs_.answerSaveFile(QString::fromStdString(out));
    dialogs_.answerMessage(Answer::Ok);
    dialogs_.answerMessage(Answer::No);
    mainDialog->control(ctl::SavePdf)->click();
    QCoreApplication::processEvents();

    ExpectPages(4);
    ExpectBarIdle();
    EXPECT_EQ(testsupport::capture("qpdf --show-npages " + testsupport::shellQuote(out)), "4\n");
    // The texts of the command are unchanged: no message speaks of pages.
    EXPECT_EQ(dialogs_.messages(),
              QStringList({QString::fromStdString("*** Successfully created " + out + " ***"),
                           "Clear list of pages to save or send?"}));
    EXPECT_EQ(CountLog("Loading image 3 of 4 (" + Doc().pages[2]->sourcePath + ")"), 1);
}

TEST_F(PdfProgress, ABuildThatStopsHalfwayStillHidesAndEmptiesTheBar) {
    const std::string second = MakeImage("second.png");
    LoadPages({MakeImage("first.png"), second, MakeImage("third.png")});
    // The second page's file is damaged after it was loaded.
    testsupport::writeFile(second, "not a picture any more");
    Forget();
    dialogs_.answerSaveFile(QString::fromStdString(dir_.file("broken.pdf")));
    mainDialog->control(ctl::SavePdf)->click();
    QCoreApplication::processEvents();

    ASSERT_EQ(PageStates().size(), 2u);
    EXPECT_EQ(PageStates()[1].text, QStringLiteral("Page 2 of 3"));
    ExpectBarIdle();
    EXPECT_FALSE(testsupport::fileExists(dir_.file("broken.pdf")));
    EXPECT_EQ(Doc().pages.size(), 3u);
}

TEST_F(PdfProgress, MailShowsThePagesAndLeavesThePercentBarToTheTransfer) {
    SettingsStore::write(setting::ViaSMTP, 0);
    LoadPages({MakeImage("a.png"), MakeImage("b.jpg")});
    Forget();
    dialogs_.setMailResult(MailClientResult::Started);
    dialogs_.answerMessage(Answer::Ok);
    dialogs_.answerMessage(Answer::No);
    mainDialog->control(ctl::MailPdf)->click();
    QCoreApplication::processEvents();

    ExpectPages(2);
    ExpectBarIdle();
    EXPECT_EQ(dialogs_.messages(), QStringList({"*** Mail application ended without errors ***",
                                                "Clear list of pages to send?"}));

    // A transfer after a build starts from a plain percent bar.
    activityDialog->setProgressPage(2, 7);
    activityDialog->setProgressPercent(40);
    EXPECT_EQ(bar_->maximum(), 100);
    EXPECT_EQ(bar_->value(), 40);
    EXPECT_FALSE(bar_->isTextVisible());
    activityDialog->setProgressPercent(250);
    EXPECT_EQ(bar_->value(), 100);
}

}  // namespace
}  // namespace ux
