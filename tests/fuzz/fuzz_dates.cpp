// A typed date, as the record window reads it (the first byte chooses the
// locale, the rest is the text in UTF-8): recognised, composed into a record
// and sorted with others. Nothing may crash, leak or hang; a text taken for a
// date is stored so that it reads back as the same day, and the sorts keep
// every record in the order their definitions call for.

#include "fuzzing.h"

#include "platform/localeservices.h"
#include "records/recordentry.h"
#include "records/sorting.h"

#include <algorithm>
#include <limits>

using namespace quillary;

namespace {

TaxRecord recordDated(const QString& date, const QString& description)
{
    TaxRecord r;
    r.setKind(Kind{});
    r.setField(Field::Date, date);
    r.setField(Field::Amount, QStringLiteral("1"));
    r.setField(Field::Description, description);
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const std::optional<fuzz::TypedText> typed = fuzz::typedText(data, size);
    if (!typed)
        return 0;
    const QLocale& locale = typed->locale;
    const QString& text = typed->text;

    const std::optional<QDate> date = parseDate(text, locale);
    if (date) {
        FUZZ_CHECK(date->isValid(), text);
        // What the window stores for it is the same day again.
        const QString stored = shortDate(*date, locale);
        const std::optional<QDate> again = parseDate(stored, locale);
        FUZZ_CHECK(again && *again == *date, text + QStringLiteral(" -> ") + stored);
    }

    // The record form: the date checked first, then the amount.
    RecordEntry entry;
    entry.date = text;
    entry.amount = QStringLiteral("1");
    const ComposedRecord composed = composeRecord(entry, locale);
    FUZZ_CHECK((composed.status == EntryStatus::Ok) == date.has_value(), text);
    if (date) {
        // The date field of the record, as a later start reads it.
        const QString field = composed.record.field(Field::Date);
        const std::optional<QDate> read = parseDate(field, locale);
        FUZZ_CHECK(read && *read == *date, text + QStringLiteral(" -> ") + field);
    }

    // The text as the date field of a record among others: the date sort
    // puts the dated records oldest first, the others after them, and keeps
    // the order of equals.
    std::vector<TaxRecord> records{
        recordDated(text, QStringLiteral("typed 1")),
        recordDated(shortDate(QDate(2024, 3, 14), locale), QStringLiteral("fixed 1")),
        recordDated(QStringLiteral("no date"), QStringLiteral("undated")),
        recordDated(text, QStringLiteral("typed 2")),
        recordDated(shortDate(QDate(1996, 7, 4), locale), QStringLiteral("fixed 2")),
    };
    const std::vector<TaxRecord> original = records;
    sortByDate(records, locale);
    auto day = [&](const TaxRecord& r) {
        const auto d = parseDate(r.field(Field::Date), locale);
        return d ? d->toJulianDay() : std::numeric_limits<qint64>::max();
    };
    std::vector<TaxRecord> expected = original;
    std::stable_sort(expected.begin(), expected.end(),
                     [&](const TaxRecord& a, const TaxRecord& b) { return day(a) < day(b); });
    FUZZ_CHECK(records == expected, text);

    sortByType(records);
    FUZZ_CHECK(std::is_permutation(records.begin(), records.end(), original.begin(),
                                   original.end(),
                                   [](const TaxRecord& a, const TaxRecord& b) { return a == b; }),
               text);
    return 0;
}
