// The skew of a sheet scanned on a dark background, from its edges: along each side of the
// picture the dark border's depth is measured column by column (row by row at the left and
// right) and a straight line is fitted to it; the sides that agree give the angle.
#pragma once

struct Pix;

namespace vellumo::cleanup {

struct EdgeSkew {
    bool found = false;
    double degrees = 0;  // the sheet's counter-clockwise skew
    int support = 0;     // columns and rows the fitted lines rest on
};

// background: 1-bit, the dark regions that touch the picture's border.
EdgeSkew FindEdgeSkew(Pix* background);

}  // namespace vellumo::cleanup
