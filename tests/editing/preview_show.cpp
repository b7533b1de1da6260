// Shows the preview dialog on an image file, with a selection made on it, for looking at the
// dialog on a real display: preview_show FILE.
#include <QApplication>
#include <QTimer>

#include "mainwnd/load_page.h"
#include "mainwnd/preview_dlg.h"
#include "tests/editing/editing_fixtures.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2 || LoadImageFile(QString::fromLocal8Bit(argv[1])) != 0) return 1;
    CPreviewDlg dlg;
    QTimer::singleShot(300, &dlg, [&dlg] {
        const QRect shown = dlg.displayedImageRect();
        editing::Drag(&dlg, shown.topLeft() + QPoint(shown.width() / 5, shown.height() / 4),
                      shown.topLeft() + QPoint(shown.width() * 3 / 4, shown.height() * 2 / 3));
    });
    return dlg.DoModal() == CPreviewDlg::IDOK ? 0 : 2;
}
