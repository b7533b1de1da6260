// CButtonST: the check boxes and radio buttons of the settings pages. The box or round button is
// a bitmap (":/images/<id>.png") drawn at the left edge, vertically centred, with the button's
// text beside it. A check box shows 130 when ticked and 131 when not; a radio button 138 when
// selected and 139 when not.
#pragma once

#include <QAbstractButton>
#include <QImage>

namespace vellumo::prefs {

class CButtonST : public QAbstractButton {
    Q_OBJECT
public:
    enum class Kind { CheckBox, Radio };
    static constexpr int kCheckedBitmap = 130;
    static constexpr int kUncheckedBitmap = 131;
    static constexpr int kSelectedBitmap = 138;
    static constexpr int kUnselectedBitmap = 139;

    CButtonST(Kind kind, const QString& text, QWidget* parent);

    Kind kind() const { return kind_; }
    // The pair of bitmaps: the first for the checked state, the second for the unchecked one.
    void SetBitmaps(int checkedId, int uncheckedId);
    // The bitmap the button shows now.
    int currentBitmap() const { return isChecked() ? checkedId_ : uncheckedId_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& image(int id);

    Kind kind_;
    int checkedId_ = 0;
    int uncheckedId_ = 0;
    QImage checkedImage_;
    QImage uncheckedImage_;
};

}  // namespace vellumo::prefs
