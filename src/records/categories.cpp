#include "records/categories.h"

namespace quillary {

namespace {

const QStringList kPersonalExpense = {
    QStringLiteral("Medical and Dental Fees"),
    QStringLiteral("State & Local Income Taxes"),
    QStringLiteral("Real Estate Taxes"),
    QStringLiteral("Personal Property Taxes"),
    QStringLiteral("Gifts to Charity"),
    QStringLiteral("Unreimbursed Employee Expenses"),
    QStringLiteral("Tax Preparation Fees"),
    QStringLiteral("Other"),
};

const QStringList kBusinessExpense = {
    QStringLiteral("Advertising"),
    QStringLiteral("Bad Debts from Sales/Services"),
    QStringLiteral("Car & Truck Expenses"),
    QStringLiteral("Commissions & Fees"),
    QStringLiteral("Depletion"),
    QStringLiteral("Depreciation"),
    QStringLiteral("Employee Benefit Programs"),
    QStringLiteral("Insurance (not health)"),
    QStringLiteral("Interest (Mortgage)"),
    QStringLiteral("Interest (Other)"),
    QStringLiteral("Legal & Professional Services"),
    QStringLiteral("Office Expense"),
    QStringLiteral("Pension & Profit Sharing Plans"),
    QStringLiteral("Rent/Lease (Veh.,Mach.,Equip.)"),
    QStringLiteral("Rent/Lease (Other bus. prop.)"),
    QStringLiteral("Repairs & Maintenance"),
    QStringLiteral("Supplies"),
    QStringLiteral("Taxes & Licenses"),
    QStringLiteral("Travel"),
    QStringLiteral("Meals & Entertainment"),
    QStringLiteral("Utilities"),
    QStringLiteral("Wages"),
    QStringLiteral("Other"),
};

const QStringList kPersonalIncome = {
    QStringLiteral("Wages, Salaries, Tips, etc."),
    QStringLiteral("Taxable Interest Income"),
    QStringLiteral("Tax-exempt Interest"),
    QStringLiteral("Dividend Income"),
    QStringLiteral("Taxable Tax Refunds or Credits"),
    QStringLiteral("Alimony Received"),
    QStringLiteral("IRA Distributions"),
    QStringLiteral("Pensions & Annuities"),
    QStringLiteral("Unemployment Compensation"),
    QStringLiteral("Social Security"),
    QStringLiteral("Other"),
};

const QStringList kBusinessIncome = {
    QStringLiteral("Receipts or Sales"),
    QStringLiteral("Returns & Allowances"),
    QStringLiteral("Other Income"),
};

} // namespace

const QStringList& typeList(Kind kind)
{
    if (!kind.income)
        return kind.business ? kBusinessExpense : kPersonalExpense;
    return kind.business ? kBusinessIncome : kPersonalIncome;
}

QString defaultType(Kind kind)
{
    if (!kind.income)
        return kind.business ? QStringLiteral("Supplies") : QStringLiteral("Other");
    return kind.business ? QStringLiteral("Receipts or Sales")
                         : QStringLiteral("Wages, Salaries, Tips, etc.");
}

} // namespace quillary
