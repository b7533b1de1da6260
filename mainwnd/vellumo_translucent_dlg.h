// The program's top-level window: the skin with the page-count button above the page list, the
// title "Vellumo" and the program icon. The main dialog lies over it as its companion, made by
// the factory the program installs; without one the window stands alone (Escape or closing it
// ends the program).
#pragma once

#include <functional>

#include "widgets/translucent_dialog.h"

namespace vellumo::widgets {
class CTranslucentButton;
}

class CVellumoTranslucentDlg : public vellumo::widgets::CTranslucentDialog {
    Q_OBJECT
public:
    // Makes the companion for a skin window, parented to it.
    using CompanionFactory = std::function<QWidget*(CVellumoTranslucentDlg* skin)>;

    explicit CVellumoTranslucentDlg(const QString& skinPath = QStringLiteral(":/images/200.png"),
                                    QWidget* parent = nullptr);
    ~CVellumoTranslucentDlg() override;

    // The companion factory for every skin window made from now on (empty: none).
    static void setCompanionFactory(CompanionFactory factory);

    // Shows "Pages ready to save (n):" with n = counter - 1 on the page-count button; counter
    // is the page counter (pages plus one).
    void ShowPageCount(vellumo::platform::WPARAM counter);

    vellumo::widgets::CTranslucentButton* pageCountButton() const { return pageCountButton_; }
    // The page-count picture for a page counter, as the button shows it.
    static QImage pageCountImage(vellumo::platform::WPARAM counter);
    static QString pageCountText(vellumo::platform::WPARAM counter);

protected:
    QWidget* createCompanionDialog() override;
    vellumo::platform::LRESULT messageMap(unsigned message, vellumo::platform::WPARAM wParam, vellumo::platform::LPARAM lParam) override;

private:
    vellumo::widgets::CTranslucentButton* pageCountButton_ = nullptr;
};
