// The edits on the image under work (the page document's workingImage) that the preview and
// the page commands share: the quarter turn, the preview's display copy and the crop of a
// selection made on that copy. No Qt.
#pragma once

#include "imaging/image_buffer.h"

namespace vellumo::imaging {

// Turns the working image a quarter turn: direction 0 to the right (clockwise), any other
// value to the left. On failure the image stays as it was; the result is the failing
// operation's code.
int RotateWorkingImage(ImageBuffer& workingImage, int direction);

// The size at which an area of areaWidth x areaHeight pixels is shown in a frame of
// frameWidth x frameHeight pixels: scaled by whole percents to fit, never enlarged. Each side
// is at least one pixel.
void PreviewDisplaySize(int areaWidth, int areaHeight, int frameWidth, int frameHeight,
                        int& displayWidth, int& displayHeight);

// Replaces `display` (freed first when it holds an image) by a copy of source's area scaled to
// fit the frame. A bilevel source is shown as a smoothed grey picture. 0 or a negative code;
// on failure `display` is all zero.
int MakeDisplayCopy(const ImageBuffer& source, int frameWidth, int frameHeight,
                    ImageBuffer& display);

// A rectangle in window coordinates, edges inclusive as the preview's selection keeps them.
struct SelectionRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

// The working-area rectangle (image coordinates) that a selection on the display copy stands
// for. originX/originY: where the display copy's top-left pixel lies in the selection's
// coordinates. The result is clamped to the image's current area.
SelectionRect SelectionToImageArea(const ImageBuffer& image, const ImageBuffer& display,
                                   const SelectionRect& selection, int originX, int originY);

// The same for a selection made on the image shown zoomed: `scale` screen pixels per image
// pixel, (originX, originY) where the area's top-left pixel is drawn (outside the window when
// scrolled). Each selected screen pixel stands for the image pixel under it.
SelectionRect ZoomedSelectionToImageArea(const ImageBuffer& image, double scale,
                                         const SelectionRect& selection, double originX,
                                         double originY);

// Cuts the image down to `area` (image coordinates, inside its area): afterwards it is a new
// image of just that part, its area starting at (0, 0). On failure the image's area names the
// part, but its pixels are those of before. An area that is empty or leaves the image gives -1
// and changes nothing. 0 or a negative code.
int CropImageToArea(ImageBuffer& image, const SelectionRect& area);

}  // namespace vellumo::imaging
