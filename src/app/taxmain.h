#pragma once

#include "app/appstate.h"

#include <QMainWindow>

class QMdiArea;

namespace quillary {

// The MDI frame: the program's first window and the parent of the record
// windows.
class Taxmain : public QMainWindow {
    Q_OBJECT
public:
    explicit Taxmain(AppState& state, QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return mdiArea_; }

private:
    AppState& state_;
    QMdiArea* mdiArea_;
};

} // namespace quillary
