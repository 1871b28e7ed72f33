#include "platform/helpbrowser.h"

#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

// The guide is compiled into the library; a static library's resources are
// registered explicitly, and only from the global namespace.
static void registerGuideResource()
{
    Q_INIT_RESOURCE(quillary_help);
}

namespace quillary {

namespace {

// A text browser that follows only the guide's own links.
class GuideBrowser final : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override
    {
        if (name.scheme() != QLatin1String("qrc"))
            return {};
        return QTextBrowser::loadResource(type, name);
    }
};

} // namespace

HelpBrowser::HelpBrowser()
{
    registerGuideResource();
}

HelpBrowser::~HelpBrowser()
{
    delete window_;
}

QString HelpBrowser::guideUrl()
{
    return QStringLiteral("qrc:/quillary/help/guide.html");
}

QWidget* HelpBrowser::window() const
{
    return window_;
}

void HelpBrowser::showContents()
{
    if (!window_) {
        window_ = new QWidget(nullptr, Qt::Window);
        window_->setObjectName(QStringLiteral("helpWindow"));
        window_->setWindowTitle(QStringLiteral("Quillary User Guide"));
        // The guide's window alone never keeps the program running.
        window_->setAttribute(Qt::WA_QuitOnClose, false);
        auto* layout = new QVBoxLayout(window_);
        layout->setContentsMargins(0, 0, 0, 0);
        browser_ = new GuideBrowser(window_);
        browser_->setObjectName(QStringLiteral("helpBrowser"));
        browser_->setOpenExternalLinks(false);
        browser_->setOpenLinks(true);
        browser_->document()->setDocumentMargin(12);
        layout->addWidget(browser_);
        window_->resize(620, 560);
        // Closed from the keyboard like any reading window.
        for (const QKeySequence& keys :
             {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W),
              QKeySequence(QKeySequence::Close)}) {
            auto* close = new QShortcut(keys, window_);
            QObject::connect(close, &QShortcut::activated, window_.data(), &QWidget::close);
        }
        browser_->setSource(QUrl(guideUrl()));
    }
    // At its contents: the top of the guide.
    browser_->setSource(QUrl(guideUrl()));
    browser_->scrollToAnchor(QStringLiteral("contents"));
    browser_->verticalScrollBar()->setValue(0);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

} // namespace quillary
