// A button that draws nothing itself: the translucent dialog it belongs to paints its current
// image, stretched to the button's place, into the skin. Up to five state images; a state
// without one shows the normal image:
//   hovering with the left button held: pressed; hovering: hover; disabled: disabled;
//   checked (checkable buttons only): checked; otherwise normal.
#pragma once

#include <QAbstractButton>
#include <QImage>

namespace vellumo::widgets {

class IRenderListener;

class CTranslucentButton : public QAbstractButton {
    Q_OBJECT
public:
    enum State { Normal, Disabled, Hover, Pressed, Checked, StateCount };

    explicit CTranslucentButton(QWidget* parent = nullptr);

    // The images in state order; a null image leaves that state to the normal image.
    void setStateImages(const QImage& normal, const QImage& disabled = {}, const QImage& hover = {},
                        const QImage& pressed = {}, const QImage& checked = {});
    // The same image for every state.
    void setImageForAllStates(const QImage& image);

    State currentState() const;
    QImage currentImage() const;
    QImage stateImage(State state) const { return images_[state]; }

    void setRenderListener(IRenderListener* listener) { listener_ = listener; }

protected:
    void paintEvent(QPaintEvent*) override {}
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void checkStateSet() override;
    void nextCheckState() override;

private:
    void stateMayHaveChanged();

    QImage images_[StateCount];
    bool hover_ = false;
    bool pressed_ = false;
    State shown_ = Normal;
    IRenderListener* listener_ = nullptr;
};

}  // namespace vellumo::widgets
