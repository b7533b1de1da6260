// The program's top-level window: the skin with the page-count button above the page list, the
// title "Vellumo" and the program icon. The main dialog lies over it as its companion, made by
// the factory the window is given; without one the window stands alone (Escape or closing it
// ends the program).
#pragma once

#include <functional>

#include "widgets/translucent_dialog.h"

namespace vellumo::widgets {
class CTranslucentButton;
}

namespace vellumo::mainwnd {

class CVellumoTranslucentDlg : public widgets::CTranslucentDialog {
    Q_OBJECT
public:
    // Makes the companion for a skin window, parented to it.
    using CompanionFactory = std::function<QWidget*(CVellumoTranslucentDlg* skin)>;

    explicit CVellumoTranslucentDlg(CompanionFactory companion = {},
                                    const QString& skinPath = QStringLiteral(":/images/200.png"),
                                    QWidget* parent = nullptr);
    ~CVellumoTranslucentDlg() override;

    // Shows "Pages ready to save (n):" with n = counter - 1 on the page-count button; counter
    // is the page counter (pages plus one).
    void ShowPageCount(platform::WPARAM counter);

    widgets::CTranslucentButton* pageCountButton() const { return pageCountButton_; }
    // The page-count picture for a page counter, as the button shows it.
    static QImage pageCountImage(platform::WPARAM counter);
    static QString pageCountText(platform::WPARAM counter);

protected:
    QWidget* createCompanionDialog() override;
    platform::LRESULT messageMap(unsigned message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) override;

private:
    CompanionFactory companionFactory_;
    widgets::CTranslucentButton* pageCountButton_ = nullptr;
};

}  // namespace vellumo::mainwnd
