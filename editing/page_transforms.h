// The page commands of the page list's context menu that change a page's picture: rotate
// right, rotate left, invert and mirror, each on the page at `currentItem`. The page's file is
// loaded, transformed and written to a new temporary TIFF that becomes the page's working
// copy; the user's own file and a scanned page's source file are never written.
#pragma once

#include "document/command_context.h"

namespace vellumo::editing {

enum class PageTransform { RotateRight, RotateLeft, Invert, Mirror };

// Runs one of the transforms on the page at `currentItem`; questions are owned by the main
// dialog. Returns 0 when the page got a new working copy, else nonzero (no such page, an
// unreadable file, a copy that could not be written).
int TransformPage(const document::CommandContext& context, PageTransform transform);

}  // namespace vellumo::editing
