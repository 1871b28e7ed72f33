#include "app/taxmain.h"

#include <QMdiArea>

namespace quillary {

Taxmain::Taxmain(AppState& state, QWidget* parent)
    : QMainWindow(parent)
    , state_(state)
    , mdiArea_(new QMdiArea(this))
{
    setObjectName(QStringLiteral("Taxmain"));
    setWindowTitle(QStringLiteral("Quillary v2"));
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea_);
    state_.mdiArea = mdiArea_;
}

} // namespace quillary
