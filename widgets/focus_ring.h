// The keyboard focus made visible on controls that draw themselves from bitmaps (the skinned
// buttons, radios, toggles, tabs and the page list): a ring in the skin's accent colour, drawn
// just outside the focused control by a layer above it, so the control's own picture stays as
// it is and the mark cannot be mistaken for a state of the control.
#pragma once

#include <QPointer>
#include <QSet>
#include <QWidget>

namespace vellumo::widgets {

class CFocusRing : public QWidget {
    Q_OBJECT
public:
    // How far outside the control the ring lies, and how thick it is.
    static constexpr int kGap = 1;
    static constexpr int kWidth = 2;

    // A layer of `host`, which holds the controls (at any depth).
    explicit CFocusRing(QWidget* host);

    // The control gets the ring whenever it has the keyboard focus.
    void track(QWidget* control);
    // The control ringed now, or nullptr.
    QWidget* target() const { return target_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onFocusChanged(QWidget* now);
    void follow();

    QSet<QWidget*> tracked_;
    QPointer<QWidget> target_;
};

}  // namespace vellumo::widgets
