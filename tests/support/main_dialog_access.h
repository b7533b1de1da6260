// The running program window's page document, for tests that look at or set up its pages.
#pragma once

#include "mainwnd/vellumo_dlg.h"
#include "tests/support/main_dialog_access.h"

using namespace vellumo::mainwnd;

inline vellumo::document::PageDocument& Doc() {
    return vellumo::mainwnd::mainDialog->document();
}
