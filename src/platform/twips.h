#pragma once

#include <QtGlobal>

namespace quillary {

// The window layouts are given in twips (1440 to the inch, 15 to a pixel at
// 96 dpi); these scale them for the screen's logical resolution.
int twipsToPixels(int twips, qreal dpi);
int twipsToPixels(int twips); // at the primary screen's logical dpi
// The primary screen's logical dpi; 96 without a screen.
qreal primaryScreenDpi();

} // namespace quillary
