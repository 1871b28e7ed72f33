// Composing a record from what the user typed: the blank-record rule, the
// date and amount checks, trimming and the kind code.

#include "records/recordentry.h"
#include "support/testenv.h"

using namespace quillary;

Q_DECLARE_METATYPE(quillary::EntryStatus)

namespace {

RecordEntry entryOf(const QStringList& f, Kind kind = {})
{
    return {f.value(0), f.value(1), f.value(2), f.value(3), f.value(4), f.value(5), f.value(6),
            kind};
}

// A record's fields without their padding, "|" between them, kind first.
QString fieldsOf(const TaxRecord& r)
{
    QStringList out;
    for (Field f : {Field::Kind, Field::Date, Field::Amount, Field::Invoice, Field::PayMethod,
                    Field::Type, Field::Party, Field::Description})
        out << r.field(f);
    for (QString& field : out)
        while (field.endsWith(u' '))
            field.chop(1);
    return out.join(u'|');
}

} // namespace

class TestRecordEntry : public QObject {
    Q_OBJECT

    test::LocaleGuard locale_{QStringLiteral("en_US")};

private slots:
    void blankEntry_data()
    {
        QTest::addColumn<QStringList>("fields"); // date, amount, invoice, pay, type, party, description
        QTest::addColumn<bool>("blank");
        const QString today = QStringLiteral("5/6/2024");
        QTest::newRow("today and nothing else") << QStringList{today} << true;
        QTest::newRow("the type does not count")
            << QStringList{today, "", "", "", "Supplies"} << true;
        QTest::newRow("another day") << QStringList{"5/7/2024"} << false;
        QTest::newRow("today written otherwise") << QStringList{"05/06/2024"} << false;
        QTest::newRow("an amount") << QStringList{today, "1"} << false;
        QTest::newRow("an invoice") << QStringList{today, "", "7"} << false;
        QTest::newRow("a pay method") << QStringList{today, "", "", "Cash"} << false;
        QTest::newRow("a party") << QStringList{today, "", "", "", "", "Shop"} << false;
        QTest::newRow("a description")
            << QStringList{today, "", "", "", "", "", "Paper"} << false;
        QTest::newRow("a blank is something") << QStringList{today, " "} << false;
    }
    void blankEntry()
    {
        QFETCH(QStringList, fields);
        QFETCH(bool, blank);
        QCOMPARE(isBlankEntry(entryOf(fields), QStringLiteral("5/6/2024")), blank);
    }

    void compose_data()
    {
        QTest::addColumn<QStringList>("fields"); // date, amount, invoice, pay, type, party, description
        QTest::addColumn<bool>("business");
        QTest::addColumn<bool>("income");
        QTest::addColumn<EntryStatus>("status");
        QTest::addColumn<QString>("record"); // the fields as fieldsOf gives them

        const QStringList full{"3/14/2024", "125.40", "A-1041", "Check No: 1041",
                               "Medical and Dental Fees", "Dr. Meyer", "Check-up"};
        QTest::newRow("personal expense")
            << full << false << false << EntryStatus::Ok
            << "0|3/14/2024|125.4|A-1041|Check No: 1041|Medical and Dental Fees|Dr. Meyer|Check-up";
        QTest::newRow("personal income") << full << false << true << EntryStatus::Ok
                                         << "1|3/14/2024|125.4|A-1041|Check No: 1041|Medical and "
                                            "Dental Fees|Dr. Meyer|Check-up";
        QTest::newRow("business expense") << full << true << false << EntryStatus::Ok
                                          << "2|3/14/2024|125.4|A-1041|Check No: 1041|Medical "
                                             "and Dental Fees|Dr. Meyer|Check-up";
        QTest::newRow("business income") << full << true << true << EntryStatus::Ok
                                         << "3|3/14/2024|125.4|A-1041|Check No: 1041|Medical and "
                                            "Dental Fees|Dr. Meyer|Check-up";
        QTest::newRow("ISO date")
            << QStringList{"2024-03-14", "1"} << false << false << EntryStatus::Ok
            << "0|3/14/2024|1|||||";
        QTest::newRow("two-digit year")
            << QStringList{" 7/4/96 ", "1"} << false << false << EntryStatus::Ok
            << "0|7/4/1996|1|||||";
        QTest::newRow("amount in the locale's conventions")
            << QStringList{"1/2/2024", "($1,234.5)"} << false << false << EntryStatus::Ok
            << "0|1/2/2024|-1234.5|||||";
        QTest::newRow("blanks trimmed, type kept as chosen")
            << QStringList{"1/2/2024", " 3 ", "  7 ", " Cash ", " Other ", " Shop ", " Pens "}
            << false << false << EntryStatus::Ok << "0|1/2/2024|3|7|Cash| Other|Shop|Pens";
        QTest::newRow("long texts cut to their fields")
            << QStringList{"1/2/2024", "1", "12345678901", "", "", "",
                           "a description of more than twenty"}
            << false << false << EntryStatus::Ok << "0|1/2/2024|1|1234567890||||a description of mor";
        QTest::newRow("no date") << QStringList{"", "1"} << false << false << EntryStatus::BadDate
                                 << "";
        QTest::newRow("impossible date")
            << QStringList{"2/30/2024", "1"} << false << false << EntryStatus::BadDate << "";
        QTest::newRow("the date before the amount")
            << QStringList{"soon", "much"} << false << false << EntryStatus::BadDate << "";
        QTest::newRow("no amount") << QStringList{"1/2/2024", ""} << false << false
                                   << EntryStatus::BadAmount << "";
        QTest::newRow("amount no number")
            << QStringList{"1/2/2024", "12abc"} << false << false << EntryStatus::BadAmount << "";
        QTest::newRow("amount too large")
            << QStringList{"1/2/2024", "9999999999999999"} << false << false
            << EntryStatus::AmountTooLarge << "";
        // The field holds 14 characters; cut, the amount would be another.
        QTest::newRow("amount of 14 characters")
            << QStringList{"1/2/2024", "99,999,999,999,999"} << false << false << EntryStatus::Ok
            << "0|1/2/2024|99999999999999|||||";
        QTest::newRow("negative amount of 14 characters")
            << QStringList{"1/2/2024", "-9999999999999"} << false << false << EntryStatus::Ok
            << "0|1/2/2024|-9999999999999|||||";
        QTest::newRow("amount of 15 digits")
            << QStringList{"1/2/2024", "123456789012345"} << false << false
            << EntryStatus::AmountTooLarge << "";
        QTest::newRow("amount of 15 characters with its decimals")
            << QStringList{"1/2/2024", "1234567890.1234"} << false << false
            << EntryStatus::AmountTooLarge << "";
        QTest::newRow("negative amount of 15 characters")
            << QStringList{"1/2/2024", "-99999999999999"} << false << false
            << EntryStatus::AmountTooLarge << "";
    }
    void compose()
    {
        QFETCH(QStringList, fields);
        QFETCH(bool, business);
        QFETCH(bool, income);
        QFETCH(EntryStatus, status);
        QFETCH(QString, record);
        const ComposedRecord composed = composeRecord(entryOf(fields, Kind{business, income}));
        QCOMPARE(composed.status, status);
        if (status == EntryStatus::Ok)
            QCOMPARE(fieldsOf(composed.record), record);
    }
};

QUILLARY_CORE_TEST_MAIN(TestRecordEntry)
#include "tst_recordentry.moc"
