#include "platform/fonts.h"

namespace quillary {

QStringList designFamilies()
{
    return {kDesignFamily, QStringLiteral("Microsoft Sans Serif"),
            QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial")};
}

QFont designFont(qreal points)
{
    QFont font;
    font.setFamilies(designFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

} // namespace quillary
