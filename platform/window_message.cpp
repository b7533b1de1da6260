#include "platform/window_message.h"

#include <QCoreApplication>

namespace vellumo::platform {

WindowMessage::WindowMessage(unsigned message, WPARAM wParam, LPARAM lParam)
    : QEvent(eventType()), message_(message), wParam_(wParam), lParam_(lParam) {
    setAccepted(false);
}

QEvent::Type WindowMessage::eventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

WindowMessage* WindowMessage::from(QEvent* event) {
    if (!event || event->type() != eventType()) return nullptr;
    return static_cast<WindowMessage*>(event);
}

bool PostWindowMessage(QObject* window, unsigned message, WPARAM wParam, LPARAM lParam) {
    if (!window) return false;
    // All window messages share one priority, so the queue keeps them in posting order.
    QCoreApplication::postEvent(window, new WindowMessage(message, wParam, lParam),
                                Qt::NormalEventPriority);
    return true;
}

LRESULT SendWindowMessage(QObject* window, unsigned message, WPARAM wParam, LPARAM lParam) {
    if (!window) return 0;
    WindowMessage m(message, wParam, lParam);
    QCoreApplication::sendEvent(window, &m);
    return m.isAccepted() ? m.result() : 0;
}

}  // namespace vellumo::platform
