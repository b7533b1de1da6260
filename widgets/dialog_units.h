// Dialog templates are laid out in dialog units: a quarter of the dialog font's average
// character width across and an eighth of its height down. The program's templates use
// Segoe UI 10 and are converted as on a 96 dpi display; where Segoe UI is not installed the
// desktop's substitute font gives the units.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace vellumo::widgets {

// Segoe UI at 10 points on a 96 dpi display (13 pixels).
QFont TemplateFont();
// The dialog base units of the template font: average character width and line height.
QSize DialogBaseUnits();
// A rectangle or size given in dialog units, in pixels.
QRect DialogUnitsToPixels(const QRect& dialogUnits);
QSize DialogUnitsToPixels(const QSize& dialogUnits);

}  // namespace vellumo::widgets
