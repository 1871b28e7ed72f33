#include "app/programicon.h"

#include <QPixmap>

// The images are built into a static library, so their resource has to be
// registered explicitly, and only from the global namespace.
static void registerIconResource()
{
    Q_INIT_RESOURCE(quillary_icons);
}

namespace quillary {

namespace {

QIcon iconOfSizes(std::initializer_list<int> sizes)
{
    registerIconResource();
    QIcon icon;
    for (int size : sizes)
        icon.addPixmap(QPixmap(QStringLiteral(":/quillary/icons/%1.png").arg(size)));
    return icon;
}

} // namespace

QIcon programIcon()
{
    return iconOfSizes({16, 32, 48, 64, 128, 256});
}

QIcon frameIcon()
{
    return iconOfSizes({16, 32});
}

} // namespace quillary
