// The windows on a high-resolution screen (the program scaled by two) that
// is small for them: no caption is cut, and the totals window stays on the
// screen with its grid giving way.
#include "forms/record/recordfixture.h"
#include "forms/totals/taxtot.h"
#include "forms/totals/totalsgrid.h"
#include "platform/twips.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

using namespace quillary;
using namespace quillary::test;

namespace {

// Every caption of a window drawn in full.
void verifyCaptionsFit(QWidget* window)
{
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->objectName()));
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty())
            continue;
        if (qobject_cast<QRadioButton*>(button)) {
            QVERIFY2(button->sizeHint().width() <= button->width(),
                     qPrintable(button->objectName()));
        } else {
            QString plain = button->text();
            plain.remove(QLatin1Char('&'));
            QVERIFY2(button->fontMetrics().horizontalAdvance(plain) < button->width() - 4,
                     qPrintable(button->objectName()));
        }
    }
}

} // namespace

class TestScaledForms : public QObject {
    Q_OBJECT

private slots:
    void screenIsScaled()
    {
        QVERIFY(qFuzzyCompare(qApp->devicePixelRatio(), 2.0));
    }

    void recordWindowCaptionsFit()
    {
        PinnedDay day(QDate(2024, 3, 14));
        RecordEnv env;
        const QString file = env.path(QStringLiteral("scaled.dat"));
        writeBytes(file, bytesOf(sampleRecords()));
        Quillary* w = env.open(file);
        QVERIFY(w);
        verifyCaptionsFit(w);
        QVERIFY(env.dialogs.verifyAllUsed(__FILE__, __LINE__));
    }

    void totalsWindowFitsTheScreen()
    {
        RecordEnv env;
        std::vector<TaxRecord> records;
        for (int i = 0; i < 40; ++i)
            records.push_back(makeRecord('0', "1/2/1996", "1", "", "Cash", "Other", "Someone",
                                         QStringLiteral("row %1").arg(i)));
        const QString file = env.path(QStringLiteral("totals.dat"));
        writeBytes(file, bytesOf(records));
        env.state.filename = file;
        QString presfile = file;
        Taxtot t(env.state, &presfile);
        t.load();
        t.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t));
        verifyCaptionsFit(&t);

        const QRect area = t.screen()->availableGeometry();
        const int designedWidth = t.px(Taxtot::kClientWidth);
        QVERIFY2(designedWidth > area.width(), "the test screen is too small to show the limit");
        QVERIFY(area.contains(t.frameGeometry()));
        // The controls keep their places; the grid ends inside the window.
        auto* grid = t.findChild<TotalsGrid*>(QStringLiteral("Grid1"));
        QCOMPARE(grid->pos(), QPoint(0, t.px(960)));
        QVERIFY(grid->geometry().right() < t.width());
        QVERIFY(grid->mapTo(&t, QPoint(0, grid->height())).y() <= t.height());
        QCOMPARE(t.findChild<QPushButton*>(QStringLiteral("Command1"))->pos(),
                 QPoint(t.px(7560), t.px(480)));
        QVERIFY(env.dialogs.verifyAllUsed(__FILE__, __LINE__));
    }
};

int main(int argc, char* argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    quillary::test::isolateTestProcess();
    QApplication app(argc, argv);
    TestScaledForms tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_scaledforms.moc"
