#pragma once

// Shared helpers of the record window tests: the test platform with an MDI
// area to open windows in and the owner of those windows.

#include "forms/record/quillary.h"
#include "forms/record/recordwindows.h"
#include "records/taxrecord.h"
#include "support/records.h"
#include "support/testplatform.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace quillary::test {

struct RecordEnv : TestPlatform {
    QMdiArea area;
    QuillaryWindows windows{state, area};

    RecordEnv()
    {
        area.resize(800, 600);
        area.show();
    }
    ~RecordEnv()
    {
        // Windows go before the services they use.
        for (QMdiSubWindow* sub : area.subWindowList())
            delete sub;
    }

    Quillary* open(const QString& file)
    {
        state.filename = file;
        return qobject_cast<Quillary*>(windows.load());
    }
};

template <class T>
T* find(QObject* parent, const char* name)
{
    return parent->findChild<T*>(QString::fromLatin1(name));
}

} // namespace quillary::test
