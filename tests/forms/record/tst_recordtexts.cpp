// The texts of the record window that depend on what it shows: the label
// captions for a kind and the boxes of the text search.

#include "forms/record/recordtexts.h"
#include "support/testplatform.h"

using namespace quillary;

class TestRecordTexts : public QObject {
    Q_OBJECT

private slots:
    void captions_data()
    {
        QTest::addColumn<bool>("business");
        QTest::addColumn<bool>("income");
        QTest::addColumn<QString>("typeCaption");
        QTest::addColumn<QString>("partyCaption");
        QTest::newRow("Personal expense") << false << false << " Expense Type:" << "Paid to:";
        QTest::newRow("Business expense") << true << false << " Expense Type:" << "Paid to:";
        QTest::newRow("Personal income") << false << true << " Income Type:" << "Paid by:";
        QTest::newRow("Business income") << true << true << " Income Type:" << "Paid by:";
    }
    void captions()
    {
        QFETCH(bool, business);
        QFETCH(bool, income);
        QFETCH(QString, typeCaption);
        QFETCH(QString, partyCaption);
        QCOMPARE(typeLabelCaption(Kind{business, income}), typeCaption);
        QCOMPARE(partyLabelCaption(Kind{business, income}), partyCaption);
    }

    void messageTexts()
    {
        QCOMPARE(searchFoundText(7, QStringLiteral(" Rent ")),
                 QStringLiteral("Displayed is record number  7 containing the Text ' Rent '\n\r"
                                "Would you like to find the next record containing this Text?"));
        QCOMPARE(searchFoundText(32767, QStringLiteral("x")),
                 QStringLiteral("Displayed is record number  32767 containing the Text 'x'\n\r"
                                "Would you like to find the next record containing this Text?"));
        QCOMPARE(searchNoneText(QStringLiteral("  new  roof ")),
                 QStringLiteral("No records found containing the Text 'new  roof'"));
        QCOMPARE(searchNoFurtherText(QStringLiteral(" roof")),
                 QStringLiteral("No further records found containing the Text 'roof'"));
        QCOMPARE(searchNoneText(QStringLiteral("   ")),
                 QStringLiteral("No records found containing the Text ''"));
        QCOMPARE(kSearchFoundTitle, QStringLiteral("Record found,  search next?"));
    }
};

QUILLARY_TEST_MAIN(TestRecordTexts)
#include "tst_recordtexts.moc"
