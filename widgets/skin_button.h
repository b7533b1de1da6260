// CxSkinButton: a push button drawn from three bitmaps that carry its label: normal, pressed
// and hover. It shows the pressed bitmap while the left button is held with the pointer over
// it, the hover bitmap while the pointer is over it otherwise, and the normal bitmap in every
// other case (drawn faded while the button is disabled, so a command that is not available
// looks it). The click is reported when the button is released over it; a double click counts
// as a second press. The bitmap is drawn unscaled from the button's top-left corner.
#pragma once

#include <QAbstractButton>
#include <QImage>

namespace vellumo::widgets {

class CxSkinButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Look { Normal, Pressed, Hover };

    explicit CxSkinButton(QWidget* parent = nullptr);

    void SetSkin(const QImage& normal, const QImage& pressed, const QImage& hover);
    // Loads the three bitmaps ":/images/<id>.png".
    void SetSkin(int normalId, int pressedId, int hoverId);

    // The bitmap the button shows now.
    Look currentLook() const;
    QImage currentImage() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QImage normal_, pressed_, hover_;
    bool hover_on_ = false;
};

}  // namespace vellumo::widgets
