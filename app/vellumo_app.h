// The application: start-up, the single-instance rule and the one modal loop of the skin
// window; the process ends when that window closes.
//
// For tests only, VELLUMO_QUIT_AFTER_MS=<n> closes the skin window n milliseconds after it has
// been shown (0: as soon as the event loop runs), so every start-up step runs for real and the
// process then ends on its own as if the user had closed the window.
#pragma once

#include <QStringList>

namespace vellumo::app {

class CVellumoApp {
public:
    // Runs the whole life of the process and returns its exit status.
    int run(int argc, char** argv);

    // True when "/GO" stands anywhere in the command line (the arguments after the program
    // name, joined by spaces), with its case.
    static bool commandLineHasGo(const QStringList& arguments);

    // The single-instance rule, run before any window of this process exists:
    //  a) a top-level window of another copy (TitleMarksRunningInstance) is asked to close and
    //     nothing else happens;
    //  b) otherwise the instance lock is taken; if another process holds it,
    //  c) "ActiveWnd" is read and reset to 0, and with "/GO" the window it names is asked to
    //     close.
    // Reports nothing and writes no log line.
    static void singleInstanceTest(const QStringList& arguments);
};

}  // namespace vellumo::app
