// Buttons that show one bitmap at a time, the one last given to them, drawn unscaled from the
// button's top-left corner: CBitmapButton for the quick-setting radios, CFixedButton for the
// page-size radios, the option toggles and the tabs. The two differ in one point: on a
// CFixedButton a double click counts as a second click, so a fast double click on a tab or a
// toggle acts twice; a CBitmapButton takes the double click as nothing more than the first.
#pragma once

#include <QAbstractButton>
#include <QImage>

namespace vellumo::widgets {

class CBitmapButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CBitmapButton(QWidget* parent = nullptr);

    void SetBitmap(const QImage& image);
    // Loads ":/images/<id>.png"; the id is remembered.
    void SetBitmap(int id);
    int bitmapId() const { return bitmapId_; }
    const QImage& bitmap() const { return bitmap_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Tells assistive technology that the button's checked (or, for a tab, selected) state
    // changed.
    void checkStateSet() override;

private:
    QImage bitmap_;
    int bitmapId_ = 0;
};

class CFixedButton : public CBitmapButton {
    Q_OBJECT
public:
    using CBitmapButton::CBitmapButton;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace vellumo::widgets
