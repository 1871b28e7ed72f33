#include "app/taxmain.h"

#include "forms/record/quillary.h"
#include "platform/settingsstore.h"

#include <QAction>
#include <QMenu>

namespace quillary {

// The frame's recent-files entries. A first version: the list is restored
// at startup and an entry opens its file; UpdateMenu does not maintain the
// list yet.

void Taxmain::restoreRecentMenu()
{
    SettingsStore& settings = state_.platform.settings;
    state_.t1 = settings.get(QStringLiteral("menu1"), QStringLiteral("Taxrecs.dat"));
    state_.t2 = settings.get(QStringLiteral("menu2"));
    state_.t3 = settings.get(QStringLiteral("menu3"));
    state_.t4 = settings.get(QStringLiteral("menu4"));

    mnuFileArray_[0]->setVisible(true);
    const QString entries[] = {state_.t1, state_.t2, state_.t3, state_.t4};
    for (int k = 1; k <= 4; ++k) {
        const QString& entry = entries[k - 1];
        if (k > 1 && entry.isEmpty())
            continue;
        if (!mnuFileArray_[k]) {
            mnuFileArray_[k] = fl_->addAction(QString());
            mnuFileArray_[k]->setObjectName(QStringLiteral("mnuFileArray%1").arg(k));
            connect(mnuFileArray_[k], &QAction::triggered, this, [this, k] { mnuFileArray_Click(k); });
        }
        // A path is shown as it is: an ampersand in it is no access key.
        QString caption = entry;
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        mnuFileArray_[k]->setText(caption);
        mnuFileArray_[k]->setVisible(true);
    }
}

void Taxmain::UpdateMenu() {}

void Taxmain::mnuFileArray_Click(int index)
{
    if (index < 1 || index > 4 || !mnuFileArray_[index])
        return;
    QString path = mnuFileArray_[index]->text();
    path.replace(QStringLiteral("&&"), QStringLiteral("&"));
    state_.filename = path;
    UpdateMenu();
    Quillary::open(state_);
}

} // namespace quillary
