#include "session/recentlist.h"

#include "platform/menus.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"

#include <QAction>
#include <QMenu>

namespace quillary {

RecentList frameList(const AppState& state)
{
    return {state.t1, state.t2, state.t3, state.t4};
}

void setFrameList(AppState& state, const RecentList& list)
{
    for (int k = 1; k <= 4; ++k)
        frameEntry(state, k) = list[k - 1];
}

QString& frameEntry(AppState& state, int k)
{
    switch (k) {
    case 1:
        return state.t1;
    case 2:
        return state.t2;
    case 3:
        return state.t3;
    default:
        return state.t4;
    }
}

QString recentKey(int k)
{
    return QStringLiteral("menu%1").arg(k);
}

RecentList readRecentList(const SettingsStore& settings)
{
    RecentList list;
    list[0] = settings.get(recentKey(1), kDefaultDataFile);
    for (int k = 2; k <= 4; ++k)
        list[k - 1] = settings.get(recentKey(k), QString());
    return list;
}

RecentInsertion insertRecent(const RecentList& list, const QString& file)
{
    // Slot by slot from the top: an empty slot takes the shifted entries
    // (and needs its element), the file's own slot is where the shift
    // stops. Without either, the oldest entry drops out.
    for (int slot = 0; slot < 4; ++slot) {
        const bool empty = list[slot].isEmpty();
        if (!empty && list[slot] != file)
            continue;
        RecentInsertion result{list, empty ? slot + 1 : 0};
        for (int i = slot; i > 0; --i)
            result.list[i] = result.list[i - 1];
        result.list[0] = file;
        return result;
    }
    RecentInsertion result{list, 0};
    for (int i = 3; i > 0; --i)
        result.list[i] = result.list[i - 1];
    result.list[0] = file;
    return result;
}

std::vector<RecentRefreshStep> refreshRecent(const RecentList& list,
                                             const std::array<bool, 4>& created)
{
    std::vector<RecentRefreshStep> steps;
    for (int k = 1; k <= 4; ++k) {
        if (list[k - 1].isEmpty())
            continue;
        steps.push_back({k, list[k - 1], k == 1, created[k - 1]});
    }
    return steps;
}

std::vector<RecentElement> restoredElements(const RecentList& list, const QString& firstCaption)
{
    std::vector<RecentElement> elements{{1, firstCaption}};
    for (int k = 2; k <= 4; ++k) {
        if (!list[k - 1].isEmpty())
            elements.push_back({k, list[k - 1]});
    }
    return elements;
}

RecentMenu::RecentMenu(QMenu* menu, std::array<QAction*, 5>& elements,
                       std::function<void(int)> onClick)
    : menu_(menu)
    , elements_(elements)
    , onClick_(std::move(onClick))
{
}

bool RecentMenu::exists(int k) const
{
    return k >= 0 && k <= 4 && elements_[k] != nullptr;
}

std::array<bool, 4> RecentMenu::created() const
{
    return {exists(1), exists(2), exists(3), exists(4)};
}

void RecentMenu::create(int k)
{
    if (k < 1 || k > 4 || exists(k) || !menu_)
        return;
    // Keep the elements in index order even when a gap is filled later.
    QAction* before = nullptr;
    for (int j = k + 1; j <= 4 && !before; ++j)
        before = elements_[j];
    QAction* element =
        addMenuItem(menu_, QStringLiteral("mnuFileArray%1").arg(k), QString(), before);
    element->setVisible(false);
    QObject::connect(element, &QAction::triggered, element, [k, onClick = onClick_] {
        if (onClick)
            onClick(k);
    });
    elements_[k] = element;
}

void RecentMenu::show(int k, const QString& caption)
{
    if (!exists(k) || k == 0)
        return;
    QAction* element = elements_[k];
    QString text = caption;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    element->setText(text);
    element->setData(caption);
    element->setVisible(true);
}

void RecentMenu::showSeparator()
{
    if (elements_[0])
        elements_[0]->setVisible(true);
}

QString RecentMenu::caption(const QAction* element)
{
    return element ? element->data().toString() : QString();
}

void restoreRecentMenu(RecentMenu& menu, const RecentList& list, const QString& firstCaption)
{
    menu.showSeparator();
    for (const RecentElement& e : restoredElements(list, firstCaption)) {
        menu.create(e.element);
        menu.show(e.element, e.caption);
    }
}

RecentList updateRecentMenu(RecentMenu& menu, const RecentList& list, const QString& file,
                            SettingsStore& settings,
                            const std::function<void(int, const QString&)>& beforeEntry,
                            bool createMissing)
{
    const RecentInsertion insertion = insertRecent(list, file);
    if (insertion.createElement != 0)
        menu.create(insertion.createElement);
    if (createMissing) {
        for (int k = 1; k <= 4; ++k) {
            if (!insertion.list[k - 1].isEmpty())
                menu.create(k);
        }
    }
    const std::vector<RecentRefreshStep> steps = refreshRecent(insertion.list, menu.created());
    auto step = steps.begin();
    QList<std::pair<QString, QString>> saved;
    for (int k = 1; k <= 4; ++k) {
        if (step != steps.end() && step->element == k) {
            if (beforeEntry)
                beforeEntry(step->element, step->text);
            if (step->showSeparator)
                menu.showSeparator();
            if (step->showElement)
                menu.show(step->element, step->text);
            ++step;
        }
        // Every key is written, empty ones too: a key left alone would keep
        // an entry of an older list, listed beside the new one.
        saved.append({recentKey(k), insertion.list[k - 1]});
    }
    settings.save(saved);
    return insertion.list;
}

void restoreFrameRecent(AppState& state, RecentMenu& menu)
{
    const RecentList list = readRecentList(state.platform.settings);
    setFrameList(state, list);
    restoreRecentMenu(menu, list, list[0]);
}

void updateFrameRecent(AppState& state, RecentMenu& menu)
{
    setFrameList(state, updateRecentMenu(menu, frameList(state), state.filename,
                                         state.platform.settings));
}

void restoreWindowRecent(AppState& state, RecentMenu& menu, RecentList& own, const QString& file)
{
    own = readRecentList(state.platform.settings);
    restoreRecentMenu(menu, own, file);
    updateWindowRecent(state, menu, own, file);
}

void updateWindowRecent(AppState& state, RecentMenu& menu, RecentList& own, const QString& file)
{
    own = updateRecentMenu(
        menu, frameList(state), file, state.platform.settings,
        [&state](int k, const QString& entry) { frameEntry(state, k) = entry; }, true);
}

} // namespace quillary
