// Numbered window messages (message, wParam, lParam) between the program's windows. A posted
// message waits in the GUI thread's event queue behind everything posted before it and is
// delivered by whichever event loop runs, modal dialogs' loops included; a sent message is
// handled before the call returns. Each window handles them in one message-map function.
#pragma once

#include <QEvent>
#include <QObject>
#include <cstdint>

namespace vellumo::platform {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

class WindowMessage : public QEvent {
public:
    WindowMessage(unsigned message, WPARAM wParam, LPARAM lParam);

    // The event type every window message travels as.
    static QEvent::Type eventType();
    // The event as a window message, or nullptr when it is something else.
    static WindowMessage* from(QEvent* event);

    unsigned message() const { return message_; }
    WPARAM wParam() const { return wParam_; }
    LPARAM lParam() const { return lParam_; }
    LRESULT result() const { return result_; }
    void setResult(LRESULT result) { result_ = result; }

private:
    unsigned message_;
    WPARAM wParam_;
    LPARAM lParam_;
    LRESULT result_ = 0;
};

// Queues the message for the window; false when there is no window. A window destroyed
// before delivery never sees it. Safe from any thread.
bool PostWindowMessage(QObject* window, unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);
// Delivers the message at once (GUI thread only) and returns the window's result; 0 when there
// is no window or the window does not handle window messages.
LRESULT SendWindowMessage(QObject* window, unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);

// Mix-in for a window class: routes every window message to messageMap(), everything else to
// the base class.
//   class CVellumoDlg : public MessageWindow<QDialog> { Q_OBJECT ... LRESULT messageMap(...) };
template <class Base>
class MessageWindow : public Base {
public:
    using Base::Base;

protected:
    // The window's one dispatch point for numbered messages.
    virtual LRESULT messageMap(unsigned message, WPARAM wParam, LPARAM lParam) = 0;

    bool event(QEvent* event) override {
        if (WindowMessage* m = WindowMessage::from(event)) {
            m->setResult(messageMap(m->message(), m->wParam(), m->lParam()));
            m->accept();
            return true;
        }
        return Base::event(event);
    }
};

}  // namespace vellumo::platform
