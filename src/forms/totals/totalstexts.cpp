#include "forms/totals/totalstexts.h"

#include "forms/common.h"

namespace quillary {

const std::array<TotalsColumnLayout, kTotalsColumns>& totalsColumns()
{
    static const std::array<TotalsColumnLayout, kTotalsColumns> columns = {{
        {QStringLiteral("Description"), 1900},
        {QStringLiteral("Date"), 900},
        {QStringLiteral("Invoice No."), 800},
        {QStringLiteral("Amount"), 1000},
        {QStringLiteral("Pay Method"), 1400},
        {QStringLiteral("Payment To/By"), 1900},
        {QStringLiteral("Total"), 1100},
    }};
    return columns;
}

QString totalsHelpText()
{
    return QStringLiteral("To display a Expense total make sure that the Expense button is ")
        + QStringLiteral("chosen (Push 'Expense' to do this) and then select the ")
        + QStringLiteral("appropriate expense to display from the drop down list.") + kCrLf
        + QStringLiteral("To display an Income total make sure that the Income button is ")
        + QStringLiteral("chosen (Push 'Income' to do this) and then select the ")
        + QStringLiteral("appropriate expense to display from the drop down list.") + kCrLf
        + QStringLiteral("Choose whether the Income/Expense is Personal or Business ")
        + QStringLiteral("by pushing the appropriate button.") + kCrLf + kCrLf
        + QStringLiteral("The lists will automatically fill with the appropriate info, ")
        + QStringLiteral("sorted by their input times, and a total will be shown.  ")
        + QStringLiteral("Also, there is a running total displayed following each item.") + kCrLf
        + QStringLiteral("The information is displayed in table form with column headers on top.")
        + kCrLf + kCrLf
        + QStringLiteral("'File' menu: 'Print' prints the displayed form while 'Print All' merely ")
        + QStringLiteral("prints all records. 'Exit' exits the form.") + kCrLf + kCrLf
        + QStringLiteral("Records: Sort all records by date or type.") + kCrLf
        + QStringLiteral("All information here is given read only.  Make changes on main form.");
}

QString totalsAboutText()
{
    return QStringLiteral("Quillary v2") + kCrLf + kCrLf
        + programDescription() + kCrLf + kCrLf;
}

} // namespace quillary
