// Acting at a chosen moment of a long operation: once the activity dialog's progress bar shows
// a given page (a PDF build, a load), the test's action runs, as a user's click would.
#pragma once

#include <QProgressBar>
#include <QTimer>
#include <functional>

#include "widgets/activity_dialog.h"

namespace testsupport {

// Once the visible activity dialog shows page `page` or later, `act` runs once.
inline void WhenActivityShowsPage(int page, std::function<void()> act) {
    using vellumo::widgets::activityDialog;
    using vellumo::widgets::CActivityDialog;
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, page, act] {
        auto* bar =
            qobject_cast<QProgressBar*>(activityDialog->control(CActivityDialog::IDC_PROGRESS));
        if (!activityDialog->isVisible() || !bar || bar->value() < page) return;
        poll->deleteLater();
        act();
    });
    poll->start(5);
}

}  // namespace testsupport
