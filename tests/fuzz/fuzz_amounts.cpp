// A typed amount, as the record window reads it, and an amount field as
// the totals read it (the first byte chooses the locale, the rest is the
// text in UTF-8). Nothing may crash, leak or hang; the quick reading of the
// totals agrees with the full conversion; an amount the window accepts is
// stored so that it reads back as the same value; the totals add what they
// list without wrapping round.

#include "fuzzing.h"

#include "platform/localeservices.h"
#include "records/recordentry.h"
#include "reports/totals.h"

#include <limits>

using namespace quillary;

namespace {

QString describe(const CurrencyResult& r)
{
    return QStringLiteral("status %1 units %2").arg(int(r.status)).arg(r.value.units);
}

bool same(const CurrencyResult& a, const CurrencyResult& b)
{
    return a.status == b.status && (!a.ok() || a.value == b.value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const std::optional<fuzz::TypedText> typed = fuzz::typedText(data, size);
    if (!typed)
        return 0;
    const QLocale& locale = typed->locale;
    const QString& text = typed->text;
    const AmountReader readAmount(locale);

    const CurrencyResult full = textToCurrency(text, locale);
    const CurrencyResult quick = readAmount(text);
    FUZZ_CHECK(same(full, quick), text + QStringLiteral(": ") + describe(full)
                                      + QStringLiteral(" / ") + describe(quick));
    if (full.ok()) {
        const QString plain = currencyToText(full.value, locale);
        const CurrencyResult back = textToCurrency(plain, locale);
        FUZZ_CHECK(back.ok() && back.value == full.value, text + QStringLiteral(" -> ") + plain);
        FUZZ_CHECK(same(readAmount(plain), back), plain);
    }

    // The record form: a value it accepts is stored whole.
    RecordEntry entry;
    entry.date = shortDate(QDate(2024, 3, 14), locale);
    entry.amount = text;
    const ComposedRecord composed = composeRecord(entry, locale);
    if (composed.status == EntryStatus::Ok) {
        FUZZ_CHECK(full.ok(), text);
        const CurrencyResult stored = readAmount(composed.record.field(Field::Amount));
        FUZZ_CHECK(stored.ok() && stored.value == full.value,
                   text + QStringLiteral(" -> ") + composed.record.field(Field::Amount));
    } else {
        FUZZ_CHECK(composed.status != EntryStatus::BadDate, text);
        FUZZ_CHECK((composed.status == EntryStatus::BadAmount)
                       == (full.status == CurrencyStatus::NotANumber),
                   text);
    }

    // The text as it stands in a file, cut to the field's width: the totals
    // of two such records are its value twice, or out of range.
    TaxRecord r;
    r.setKind(Kind{});
    r.setField(Field::Type, QStringLiteral("Other"));
    r.setField(Field::Amount, text);
    const std::vector<TaxRecord> records{r, r};
    const Totals totals = computeTotals(records, {'0', kAllTypes}, locale);
    FUZZ_CHECK(totals.rows.size() == 2, QString());
    const CurrencyResult field = textToCurrency(r.field(Field::Amount), locale);
    const __int128 twice = field.ok() ? __int128(field.value.units) * 2 : 0;
    const bool fits = twice >= std::numeric_limits<qint64>::min()
        && twice <= std::numeric_limits<qint64>::max();
    if (fits)
        FUZZ_CHECK(totals.total && totals.total->units == qint64(twice), r.field(Field::Amount));
    else
        FUZZ_CHECK(!totals.total && totals.labelText(locale) == kOutOfRange,
                   r.field(Field::Amount));
    return 0;
}
