#include "forms/record/recordtexts.h"

#include "platform/localeservices.h"

namespace quillary {

QString typeLabelCaption(Kind kind)
{
    return kind.income ? QStringLiteral(" Income Type:") : QStringLiteral(" Expense Type:");
}

QString partyLabelCaption(Kind kind)
{
    return kind.income ? QStringLiteral("Paid by:") : QStringLiteral("Paid to:");
}

QString searchFoundText(int recordNumber, const QString& search)
{
    // Line feed before carriage return: the box has always shown it so.
    return QStringLiteral("Displayed is record number ") + numberText(recordNumber)
        + QStringLiteral(" containing the Text '") + search + QStringLiteral("'\n\r")
        + QStringLiteral("Would you like to find the next record containing this Text?");
}

QString searchNoneText(const QString& search)
{
    return QStringLiteral("No records found containing the Text '") + trimBlanks(search)
        + QStringLiteral("'");
}

QString searchNoFurtherText(const QString& search)
{
    return QStringLiteral("No further records found containing the Text '") + trimBlanks(search)
        + QStringLiteral("'");
}

} // namespace quillary
