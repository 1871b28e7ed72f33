#pragma once

#include "platform/help.h"

#include <QPointer>
#include <QTextBrowser>
#include <QWidget>

namespace quillary {

// The program's user guide, an HTML document built into the program, shown
// in a window of its own. Links inside the guide are followed; nothing is
// ever loaded from outside the program.
class HelpBrowser final : public HelpService {
public:
    HelpBrowser();
    ~HelpBrowser() override;

    // Opens the guide at its contents, creating the window on first use.
    void showContents() override;

    // The guide's window; null until showContents() first runs.
    QWidget* window() const;
    QTextBrowser* browser() const { return browser_; }

    // Where the guide is stored among the program's resources.
    static QString guideUrl();

private:
    QPointer<QWidget> window_;
    QPointer<QTextBrowser> browser_;
};

} // namespace quillary
