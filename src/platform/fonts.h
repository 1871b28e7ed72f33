#pragma once

#include <QFont>
#include <QStringList>

namespace quillary {

// The family the windows were designed in.
inline const QString kDesignFamily = QStringLiteral("MS Sans Serif");

// The families tried for it, best first: the designed font where a system
// has it, then fonts made to its widths (Microsoft Sans Serif) or to those
// of Arial, which come close (Liberation Sans, installed by the project's
// set-up, and Arimo). Only after them does the system's own sans serif
// font stand in, which is wider and cuts the designed captions.
QStringList designFamilies();

// The designed font at a point size.
QFont designFont(qreal points);

} // namespace quillary
