#include "records/search.h"

#include "platform/localeservices.h"
#include "records/cp1252.h"

namespace quillary {

namespace {

constexpr Field kSearchedFields[] = {Field::Date,      Field::Amount, Field::Invoice,
                                     Field::PayMethod, Field::Type,   Field::Party,
                                     Field::Description};

// The searched fields lie back to back after the kind code and fill the rest
// of the record.
constexpr int kSearchedBegin = layoutOf(Field::Date).offset;
static_assert(kSearchedBegin == 1);
static_assert(layoutOf(Field::Description).offset + layoutOf(Field::Description).width
              == kRecordLength);

} // namespace

bool recordMatches(const TaxRecord& record, const QString& search)
{
    // Text inside one field is also inside all of them put together, so a
    // record that fails this single test cannot match; only the few that
    // pass are looked at field by field (a hit across a field boundary is
    // not a match).
    const QString all = fromCp1252(record.data() + kSearchedBegin, kRecordLength - kSearchedBegin);
    if (!containsText(all, search))
        return false;
    for (Field f : kSearchedFields) {
        const FieldLayout l = layoutOf(f);
        if (containsText(all.mid(l.offset - kSearchedBegin, l.width), search))
            return true;
    }
    return false;
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
