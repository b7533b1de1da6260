// A top-level window painted from a PNG skin with per-pixel alpha: frameless, its transparent
// pixels see-through, dragged by any point of the skin, centred in the primary screen's work
// area when it first shows. Its translucent children (CTranslucentButton) draw nothing
// themselves; the dialog paints their current images into its surface. A companion widget,
// made by a hook, lies exactly over the skin and carries the real controls.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <vector>

#include "platform/window_message.h"

namespace vellumo::widgets {

class CTranslucentButton;

// What a translucent child calls when its picture changes.
class IRenderListener {
public:
    virtual ~IRenderListener() = default;
    virtual void requestRender() = 0;
};

class CTranslucentDialog : public platform::MessageWindow<QDialog>, public IRenderListener {
    Q_OBJECT
public:
    // skinPath: the skin image (":/images/200.png"); the window takes its size.
    explicit CTranslucentDialog(const QString& skinPath, QWidget* parent = nullptr);
    ~CTranslucentDialog() override;

    const QImage& skin() const { return skin_; }
    QWidget* companion() const { return companion_; }
    void setDraggable(bool on) { draggable_ = on; }
    void setCentreOnCreate(bool on) { centreOnCreate_ = on; }

    // Children drawn into the skin after it, in registration order, while visible.
    void registerTranslucentChild(CTranslucentButton* child);
    void unregisterTranslucentChild(CTranslucentButton* child);
    void requestRender() override;

    // The position that centres a window of this size in the primary screen's available area;
    // a negative offset when the area is smaller than the window.
    static QPoint centredPosition(const QRect& availableArea, const QSize& windowSize);

protected:
    // Makes the companion (nullptr: none). A child widget of this window is kept on the whole
    // client area; a separate window is kept on the same place and size.
    virtual QWidget* createCompanionDialog() { return nullptr; }
    // Sets up the translucent children, once, after the companion exists.
    virtual void setupTranslucentChildren() {}
    // Deletes the companion now (a window ends its companion before itself).
    void destroyCompanion();

    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    platform::LRESULT messageMap(unsigned message, platform::WPARAM wParam, platform::LPARAM lParam) override;

private:
    void alignCompanion();
    bool beginDrag(QMouseEvent* event);
    bool continueDrag(QMouseEvent* event);

    QImage skin_;
    bool draggable_ = true;
    bool centreOnCreate_ = true;
    bool created_ = false;
    QPointer<QWidget> companion_;
    std::vector<QPointer<CTranslucentButton>> children_;
    // Manual dragging, where the window system cannot move the window itself.
    bool dragging_ = false;
    QPoint dragOffset_;
};

}  // namespace vellumo::widgets
