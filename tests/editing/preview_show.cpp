// Shows the preview dialog on an image file, with a selection made on it, for looking at the
// dialog on a real display: preview_show FILE [ZOOM [X Y]] shows it at ZOOM percent, scrolled
// to image pixel (X, Y) at the view's top left.
#include <QApplication>
#include <QScrollBar>
#include <QTimer>

#include "editing/load_page.h"
#include "editing/preview_dlg.h"
#include "tests/support/editing_fixtures.h"

using namespace vellumo::editing;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vellumo::imaging::ImageBuffer workingImage{};
    if (argc < 2 || LoadImageFile(workingImage, QString::fromLocal8Bit(argv[1])) != 0) return 1;
    CPreviewDlg dlg{workingImage};
    const int zoom = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;
    const int x = argc > 4 ? QString::fromLocal8Bit(argv[3]).toInt() : 0;
    const int y = argc > 4 ? QString::fromLocal8Bit(argv[4]).toInt() : 0;
    QTimer::singleShot(300, &dlg, [&dlg, zoom, x, y] {
        if (zoom > 0) {
            dlg.setZoom(zoom);
            dlg.horizontalScrollBar()->setValue(x * zoom / 100);
            dlg.verticalScrollBar()->setValue(y * zoom / 100);
        }
        const QRect shown = dlg.displayedImageRect();
        editing::Drag(&dlg, shown.topLeft() + QPoint(shown.width() / 5, shown.height() / 4),
                      shown.topLeft() + QPoint(shown.width() * 3 / 4, shown.height() * 2 / 3));
    });
    return dlg.DoModal() == CPreviewDlg::IDOK ? 0 : 2;
}
