#pragma once

#include <QIcon>

namespace quillary {

// The program's icon (data/icons), in every size it is drawn in: the
// application's, so every window and box shows it.
QIcon programIcon();

// The frame's own icon: its 32 and 16 pixel images.
QIcon frameIcon();

} // namespace quillary
