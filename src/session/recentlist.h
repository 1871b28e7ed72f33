#pragma once

#include <QString>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace quillary {

struct AppState;
class SettingsStore;

// The recent-files list: entries 1 to 4 (at indexes 0 to 3), most recent
// first. The empty text means no entry.
using RecentList = std::array<QString, 4>;

// The frame's copy of the list, t1 to t4, and its entry k (1 to 4).
RecentList frameList(const AppState& state);
void setFrameList(AppState& state, const RecentList& list);
QString& frameEntry(AppState& state, int k);

// The settings key of entry k (1 to 4).
QString recentKey(int k);

// Reads the stored list: "menu1" defaults to the default data file, the
// others to the empty text.
RecentList readRecentList(const SettingsStore& settings);

// Putting a file at the top of the list. The first free slot from the top
// gets a menu element created for it; a file already in the list moves up
// without one. Only the first matching slot counts: a file that is both in
// the list and below a gap is treated as new.
struct RecentInsertion {
    RecentList list;
    int createElement = 0; // menu element (1 to 4) to create, 0 for none
};
RecentInsertion insertRecent(const RecentList& list, const QString& file);

// What refreshing the menu and saving the list does for one non-empty entry,
// in the order of the entries. An element that was never created cannot
// show its entry, but the entry is saved all the same.
struct RecentRefreshStep {
    int element = 0;            // 1 to 4, the entry's number
    QString text;               // the entry
    bool showSeparator = false; // element 0 becomes visible (entry 1 only)
    bool showElement = false;   // the element exists: caption set, made visible
};
std::vector<RecentRefreshStep> refreshRecent(const RecentList& list,
                                             const std::array<bool, 4>& created);

// The elements a form creates when it restores the list: element 1 always,
// with firstCaption (the frame shows entry 1, a record window its own file),
// elements 2 to 4 only for non-empty entries, leaving gaps where entries are
// empty.
struct RecentElement {
    int element = 0;
    QString caption;
};
std::vector<RecentElement> restoredElements(const RecentList& list, const QString& firstCaption);

// The recent-file elements at the end of a form's File menu. Element 0 is
// the separator the form made (hidden until the list has an entry); elements
// 1 to 4 are created on first use, each hidden until it gets a caption, and
// are never removed. The view does not own the elements: the menu does.
class RecentMenu {
public:
    RecentMenu(QMenu* menu, std::array<QAction*, 5>& elements,
               std::function<void(int)> onClick);

    bool exists(int k) const;
    std::array<bool, 4> created() const;
    // Creates element k unless it exists, in index order within the menu.
    void create(int k);
    // Sets the caption of element k and makes it visible; skipped when the
    // element was never created.
    void show(int k, const QString& caption);
    void showSeparator();

    // The path an element shows. The caption is shown literally: an "&" in a
    // path is no access key.
    static QString caption(const QAction* element);

private:
    QMenu* menu_;
    std::array<QAction*, 5>& elements_;
    std::function<void(int)> onClick_;
};

// Restoring a form's list: shows the separator and creates the restored
// elements.
void restoreRecentMenu(RecentMenu& menu, const RecentList& list, const QString& firstCaption);

// UpdateMenu: puts file at the top of list, refreshes the menu and saves
// all four entries, the empty ones as empty texts. beforeEntry, when given,
// runs for each non-empty entry before its element and its setting are
// updated (a record window copies its entries into the frame's variables
// there). With createMissing, every non-empty entry gets its element, so a
// list taken over from elsewhere shows whole. Returns the new list.
RecentList updateRecentMenu(RecentMenu& menu, const RecentList& list, const QString& file,
                            SettingsStore& settings,
                            const std::function<void(int, const QString&)>& beforeEntry = {},
                            bool createMissing = false);

// The two forms' versions of the list, on the frame's variables t1 to t4.
//
// The frame: restoring reads the stored list into t1 to t4 and shows entry
// 1 as element 1; UpdateMenu puts state.filename at the top.
void restoreFrameRecent(AppState& state, RecentMenu& menu);
void updateFrameRecent(AppState& state, RecentMenu& menu);
// A record window, with its own copy of the list and its file as the file
// it puts at the top. Its list starts from the frame's, which is the
// latest: another window may have put a file on it since this window last
// looked, and starting from the window's own copy would drop that file
// again. Every entry of the frame's list gets an element; the window's
// entries go into t1 to t4. Restoring shows the window's file as element 1
// and updates the list at once.
void restoreWindowRecent(AppState& state, RecentMenu& menu, RecentList& own, const QString& file);
void updateWindowRecent(AppState& state, RecentMenu& menu, RecentList& own, const QString& file);

} // namespace quillary
