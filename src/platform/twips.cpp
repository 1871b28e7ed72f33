#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace quillary {

int twipsToPixels(int twips, qreal dpi)
{
    return qRound(twips * dpi / 1440.0);
}

int twipsToPixels(int twips)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsToPixels(twips, screen ? screen->logicalDotsPerInch() : 96.0);
}

} // namespace quillary
