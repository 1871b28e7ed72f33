// The real message and input boxes: which window they belong to, and room
// for their titles.
#include "platform/dialogs.h"
#include "support/testplatform.h"

#include <QInputDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>

#include <functional>

using namespace quillary;

namespace {

// Runs `look` on the next box that shows, then closes it.
void whenBoxShows(std::function<void(QDialog*)> look)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, look] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QDialog*>(top);
            if (box && box->isVisible() && (qobject_cast<QMessageBox*>(box)
                                            || qobject_cast<QInputDialog*>(box))) {
                timer->stop();
                timer->deleteLater();
                look(box);
                box->reject();
                return;
            }
        }
    });
    timer->start();
}

} // namespace

class TestQtDialogs : public QObject {
    Q_OBJECT

private slots:
    void boxOwner_data()
    {
        QTest::addColumn<QString>("given"); // m = modal, a = active, l = last owner, w = main
        QTest::addColumn<QString>("owner");
        QTest::newRow("modal window first") << "malw" << "m";
        QTest::newRow("active window") << "alw" << "a";
        QTest::newRow("right after a box: the last owner") << "lw" << "l";
        QTest::newRow("at start: the main window") << "w" << "w";
        QTest::newRow("nothing") << "" << "";
    }
    void boxOwner()
    {
        QFETCH(QString, given);
        QFETCH(QString, owner);
        QWidget m, a, l, w;
        auto pick = [&](QChar c, QWidget* widget) { return given.contains(c) ? widget : nullptr; };
        QWidget* got = quillary::boxOwner(pick('m', &m), pick('a', &a), pick('l', &l), pick('w', &w));
        const QMap<QString, QWidget*> names{{"m", &m}, {"a", &a}, {"l", &l}, {"w", &w}, {"", nullptr}};
        QCOMPARE(got, names.value(owner));
    }

    // A box that follows another belongs to the same window, not to none.
    void boxesBelongToTheWindowThatAsks()
    {
        QMainWindow frame;
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QtDialogs dialogs;
        QList<QWidget*> parents;
        auto record = [&](QDialog* box) { parents << box->parentWidget(); };
        whenBoxShows(record);
        dialogs.message(QStringLiteral("No information in the present record, it will not be saved"),
                        Buttons::Ok, Icon::None, kAppTitle);
        whenBoxShows(record);
        dialogs.message(QStringLiteral("Quitting Quillary!  Do you want to quit?"),
                        Buttons::OkCancel, Icon::None, QStringLiteral("Quit"));
        whenBoxShows(record);
        dialogs.input(QStringLiteral("Search for:"), QStringLiteral("Search"));
        QCOMPARE(parents, (QList<QWidget*>{&frame, &frame, &frame}));

        // A modal window asks for its own boxes.
        QDialog totals(&frame);
        totals.setWindowModality(Qt::ApplicationModal);
        totals.show();
        QVERIFY(QTest::qWaitForWindowExposed(&totals));
        whenBoxShows(record);
        dialogs.message(QStringLiteral("Record found"), Buttons::YesNo, Icon::None,
                        QStringLiteral("Search"));
        QCOMPARE(parents.last(), &totals);
    }

    // A short text with a long title: the box is wide enough for the title.
    void boxLeavesRoomForItsTitle_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("input");
        QTest::newRow("File open cancelled") << "File open cancelled" << "No new file opened" << false;
        QTest::newRow("short") << "Saved" << "Invalid Amount on the current record" << false;
        QTest::newRow("input") << "Date:" << "Invalid Date on current record" << true;
    }
    void boxLeavesRoomForItsTitle()
    {
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(bool, input);
        QtDialogs dialogs;
        int width = 0;
        int needed = 0;
        whenBoxShows([&](QDialog* box) {
            width = box->width();
            needed = titleRoom(title, *box);
        });
        if (input)
            dialogs.input(text, title);
        else
            dialogs.message(text, Buttons::Ok, Icon::None, title);
        QVERIFY(needed > QFontMetrics(QApplication::font()).horizontalAdvance(title));
        QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 < %2").arg(width).arg(needed)));
    }
};

QUILLARY_TEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
