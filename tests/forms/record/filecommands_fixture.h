#pragma once

// A running program for the file-command tests: the frame on the test
// platform, in a working folder of its own.

#include "app/taxmain.h"
#include "forms/record/quillary.h"
#include "forms/record/recordwindows.h"
#include "platform/filelock.h"
#include "platform/localeservices.h"
#include "records/datafile.h"
#include "session/recentlist.h"
#include "support/records.h"
#include "support/testplatform.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>

namespace quillary::test {

// Writes a data file of `count` numbered records, from record `first` on.
inline void writeRecords(const QString& path, int count, int first = 1)
{
    writeBytes(path, encodeRecords(numberedRecords(count, first)));
}

class Program : public TestPlatform {
public:
    Program()
        : savedCurrent(QDir::currentPath())
    {
        QDir::setCurrent(dir.path());
    }

    ~Program()
    {
        // Windows go with the frame, without their close handling.
        frame.reset();
        QDir::setCurrent(savedCurrent);
    }

    void storeRecent(const QStringList& entries)
    {
        for (int k = 1; k <= entries.size(); ++k)
            settings.save(recentKey(k), entries[k - 1]);
    }

    QStringList stored() const
    {
        QStringList out;
        for (int k = 1; k <= 4; ++k)
            out << (settings.contains(recentKey(k)) ? settings.get(recentKey(k))
                                                     : QStringLiteral("<none>"));
        return out;
    }

    QStringList frameList() const { return {state.t1, state.t2, state.t3, state.t4}; }

    // Starts the frame, which opens the first stored file.
    void start()
    {
        frame = std::make_unique<Taxmain>(state);
        QObject::connect(frame.get(), &Taxmain::endProgram, [this] { ++ended; });
        frame->startup();
    }

    // The open record windows, in the order they were opened.
    QList<Quillary*> windows() const
    {
        QList<Quillary*> out;
        if (!frame)
            return out;
        for (QMdiSubWindow* sub : frame->mdiArea()->subWindowList(QMdiArea::CreationOrder)) {
            auto* w = qobject_cast<Quillary*>(sub->widget());
            if (w && RecordWindows::isOpen(w))
                out << w;
        }
        return out;
    }

    // The lock the owner of the windows holds for w.
    const DataFileLock* heldLock(const Quillary* w) const { return frame->windows().heldLock(w); }

    Quillary* active() const
    {
        QMdiSubWindow* sub = frame ? frame->mdiArea()->activeSubWindow() : nullptr;
        return sub ? qobject_cast<Quillary*>(sub->widget()) : nullptr;
    }

    void activate(Quillary* w) { frame->mdiArea()->setActiveSubWindow(w->subWindow()); }

    // Lets closed windows go.
    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }

    // The captions of a form's visible recent-file elements, in menu order.
    static QStringList recentCaptions(const QMenu* fileMenu)
    {
        QStringList out;
        for (QAction* a : fileMenu->actions()) {
            const QString name = a->objectName();
            if (name.size() == 13 && name.startsWith(QLatin1String("mnuFileArray"))
                && a->isVisible())
                out << RecentMenu::caption(a);
        }
        return out;
    }

    QString savedCurrent;
    std::unique_ptr<Taxmain> frame;
    int ended = 0;
};

inline QAction* action(QObject* form, const char* name)
{
    auto* a = form->findChild<QAction*>(QString::fromLatin1(name));
    if (!a)
        qWarning("no action %s", name);
    return a;
}

inline QMenu* fileMenuOf(Quillary* w)
{
    return w->findChild<QMenu*>(QStringLiteral("fil"));
}

inline QMenu* fileMenuOf(Taxmain* frame)
{
    return frame->findChild<QMenu*>(QStringLiteral("fl"));
}

inline QLineEdit* box(Quillary* w, const char* name)
{
    return w->findChild<QLineEdit*>(QString::fromLatin1(name));
}

inline QPushButton* button(Quillary* w, const char* name)
{
    return w->findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace quillary::test
