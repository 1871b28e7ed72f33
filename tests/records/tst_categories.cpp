#include "records/categories.h"
#include "records/taxrecord.h"
#include "support/testenv.h"

using namespace quillary;

class TestCategories : public QObject {
    Q_OBJECT

private slots:
    void tables_data()
    {
        QTest::addColumn<bool>("business");
        QTest::addColumn<bool>("income");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("defaultName");

        QTest::newRow("Personal expense")
            << false << false
            << QStringList{"Medical and Dental Fees", "State & Local Income Taxes",
                           "Real Estate Taxes", "Personal Property Taxes", "Gifts to Charity",
                           "Unreimbursed Employee Expenses", "Tax Preparation Fees", "Other"}
            << QStringLiteral("Other");
        QTest::newRow("Business expense")
            << true << false
            << QStringList{"Advertising",
                           "Bad Debts from Sales/Services",
                           "Car & Truck Expenses",
                           "Commissions & Fees",
                           "Depletion",
                           "Depreciation",
                           "Employee Benefit Programs",
                           "Insurance (not health)",
                           "Interest (Mortgage)",
                           "Interest (Other)",
                           "Legal & Professional Services",
                           "Office Expense",
                           "Pension & Profit Sharing Plans",
                           "Rent/Lease (Veh.,Mach.,Equip.)",
                           "Rent/Lease (Other bus. prop.)",
                           "Repairs & Maintenance",
                           "Supplies",
                           "Taxes & Licenses",
                           "Travel",
                           "Meals & Entertainment",
                           "Utilities",
                           "Wages",
                           "Other"}
            << QStringLiteral("Supplies");
        QTest::newRow("Personal income")
            << false << true
            << QStringList{"Wages, Salaries, Tips, etc.", "Taxable Interest Income",
                           "Tax-exempt Interest", "Dividend Income",
                           "Taxable Tax Refunds or Credits", "Alimony Received",
                           "IRA Distributions", "Pensions & Annuities",
                           "Unemployment Compensation", "Social Security", "Other"}
            << QStringLiteral("Wages, Salaries, Tips, etc.");
        QTest::newRow("Business income")
            << true << true
            << QStringList{"Receipts or Sales", "Returns & Allowances", "Other Income"}
            << QStringLiteral("Receipts or Sales");
    }
    void tables()
    {
        QFETCH(bool, business);
        QFETCH(bool, income);
        QFETCH(QStringList, names);
        QFETCH(QString, defaultName);
        const Kind kind{business, income};
        QCOMPARE(typeList(kind), names);
        QCOMPARE(defaultType(kind), defaultName);
        QVERIFY(typeList(kind).contains(defaultType(kind)));
        for (const QString& name : typeList(kind)) {
            QVERIFY2(name.size() <= layoutOf(Field::Type).width, qPrintable(name));
            QCOMPARE(name.trimmed(), name);
            // A stored name reads back unchanged once the padding is removed.
            TaxRecord r;
            r.setField(Field::Type, name);
            QCOMPARE(r.field(Field::Type).trimmed(), name);
        }
    }

    void longestNamesFillTheFieldExactly_data()
    {
        QTest::addColumn<bool>("business");
        QTest::addColumn<bool>("income");
        QTest::addColumn<QString>("name");
        QTest::newRow("personal expense") << false << false << "Unreimbursed Employee Expenses";
        QTest::newRow("business expense, rent") << true << false << "Rent/Lease (Veh.,Mach.,Equip.)";
        QTest::newRow("business expense, pension") << true << false << "Pension & Profit Sharing Plans";
        QTest::newRow("personal income") << false << true << "Taxable Tax Refunds or Credits";
    }
    void longestNamesFillTheFieldExactly()
    {
        QFETCH(bool, business);
        QFETCH(bool, income);
        QFETCH(QString, name);
        QCOMPARE(name.size(), 30);
        QVERIFY(typeList(Kind{business, income}).contains(name));
        TaxRecord r;
        r.setField(Field::Type, name);
        QCOMPARE(r.rawField(Field::Type), name.toLatin1());
        QCOMPARE(r.rawField(Field::Party), QByteArray(20, ' '));
    }

    void onlyTheLongestFourFillTheField()
    {
        int full = 0;
        for (bool business : {false, true})
            for (bool income : {false, true})
                for (const QString& name : typeList(Kind{business, income}))
                    full += name.size() == 30;
        QCOMPARE(full, 4);
    }
};

QUILLARY_CORE_TEST_MAIN(TestCategories)
#include "tst_categories.moc"
