#include "widgets/translucent_dialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "platform/messages.h"
#include "widgets/translucent_button.h"

namespace vellumo::widgets {

using namespace vellumo::platform;

namespace {
// The skin's size when the image cannot be loaded.
constexpr QSize kFallbackSize(899, 665);
}  // namespace

CTranslucentDialog::CTranslucentDialog(const QString& skinPath, QWidget* parent)
    : MessageWindow<QDialog>(parent, Qt::Window | Qt::FramelessWindowHint) {
    skin_ = QImage(skinPath).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setFixedSize(skin_.isNull() ? kFallbackSize : skin_.size());
}

CTranslucentDialog::~CTranslucentDialog() {
    destroyCompanion();
}

void CTranslucentDialog::registerTranslucentChild(CTranslucentButton* child) {
    if (!child) return;
    unregisterTranslucentChild(child);
    children_.emplace_back(child);
    child->setRenderListener(this);
    requestRender();
}

void CTranslucentDialog::unregisterTranslucentChild(CTranslucentButton* child) {
    children_.erase(std::remove_if(children_.begin(), children_.end(),
                                   [child](const QPointer<CTranslucentButton>& c) {
                                       return c.isNull() || c == child;
                                   }),
                    children_.end());
}

void CTranslucentDialog::requestRender() {
    update();
}

QPoint CTranslucentDialog::centredPosition(const QRect& area, const QSize& size) {
    // Integer halves that round toward zero, also for the negative offsets of a small screen.
    return {area.left() + (area.width() - size.width()) / 2,
            area.top() + (area.height() - size.height()) / 2};
}

void CTranslucentDialog::destroyCompanion() {
    if (companion_) delete companion_.data();
}

void CTranslucentDialog::showEvent(QShowEvent* event) {
    if (!created_) {
        created_ = true;
        if (centreOnCreate_) {
            if (QScreen* screen = QGuiApplication::primaryScreen())
                move(centredPosition(screen->availableGeometry(), size()));
        }
        if (QWidget* companion = createCompanionDialog()) {
            companion_ = companion;
            companion->installEventFilter(this);
            alignCompanion();
            companion->show();
        }
        setupTranslucentChildren();
        // The skin's own controls stay reachable above the companion.
        for (const auto& child : children_)
            if (child) child->raise();
    }
    QDialog::showEvent(event);
}

void CTranslucentDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (skin_.isNull()) {
        painter.fillRect(rect(), palette().window());
    } else {
        painter.fillRect(rect(), Qt::transparent);
        painter.drawImage(0, 0, skin_);
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (const auto& child : children_) {
        if (!child || !child->isVisibleTo(this)) continue;
        const QImage image = child->currentImage();
        if (!image.isNull()) painter.drawImage(child->geometry(), image);
    }
}

void CTranslucentDialog::alignCompanion() {
    if (!companion_) return;
    if (companion_->isWindow())
        companion_->setGeometry(geometry());
    else
        companion_->setGeometry(rect());
}

void CTranslucentDialog::moveEvent(QMoveEvent* event) {
    alignCompanion();
    QDialog::moveEvent(event);
}

void CTranslucentDialog::resizeEvent(QResizeEvent* event) {
    alignCompanion();
    QDialog::resizeEvent(event);
}

bool CTranslucentDialog::beginDrag(QMouseEvent* event) {
    if (!draggable_ || event->button() != Qt::LeftButton) return false;
    // The window manager moves the window where it can; otherwise the window follows the
    // pointer itself.
    if (windowHandle() && windowHandle()->startSystemMove()) return true;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - pos();
    return true;
}

bool CTranslucentDialog::continueDrag(QMouseEvent* event) {
    if (!dragging_) return false;
    if (!(event->buttons() & Qt::LeftButton)) {
        dragging_ = false;
        return false;
    }
    move(event->globalPosition().toPoint() - dragOffset_);
    return true;
}

void CTranslucentDialog::mousePressEvent(QMouseEvent* event) {
    if (beginDrag(event))
        event->accept();
    else
        QDialog::mousePressEvent(event);
}

void CTranslucentDialog::mouseMoveEvent(QMouseEvent* event) {
    if (continueDrag(event))
        event->accept();
    else
        QDialog::mouseMoveEvent(event);
}

void CTranslucentDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
    QDialog::mouseReleaseEvent(event);
}

void CTranslucentDialog::keyPressEvent(QKeyEvent* event) {
    // Escape would end the window's loop; while a companion carries the program it decides
    // how the program ends.
    if (event->key() == Qt::Key_Escape && companion_) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CTranslucentDialog::eventFilter(QObject* watched, QEvent* event) {
    // A press on the companion's own background (not taken by one of its controls) drags the
    // whole window, as a press on the bare skin does.
    if (watched == companion_ && companion_) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                if (beginDrag(static_cast<QMouseEvent*>(event))) return true;
                break;
            case QEvent::MouseMove:
                if (continueDrag(static_cast<QMouseEvent*>(event))) return true;
                break;
            case QEvent::MouseButtonRelease:
                dragging_ = false;
                break;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

LRESULT CTranslucentDialog::messageMap(unsigned message, WPARAM, LPARAM) {
    if (message == msg::WM_CLOSE) close();
    return 0;
}

}  // namespace vellumo::widgets
