#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace quillary {

int twipsToPixels(int twips, qreal dpi)
{
    return qRound(twips * dpi / 1440.0);
}

qreal primaryScreenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

int twipsToPixels(int twips)
{
    return twipsToPixels(twips, primaryScreenDpi());
}

} // namespace quillary
