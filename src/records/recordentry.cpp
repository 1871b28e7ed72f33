#include "records/recordentry.h"

#include "platform/localeservices.h"

namespace quillary {

bool isBlankEntry(const RecordEntry& entry, const QString& today)
{
    return entry.date == today && entry.amount.isEmpty() && entry.invoice.isEmpty()
        && entry.payMethod.isEmpty() && entry.party.isEmpty() && entry.description.isEmpty();
}

ComposedRecord composeRecord(const RecordEntry& entry, const QLocale& locale)
{
    ComposedRecord result;
    const std::optional<QDate> date = parseDate(entry.date, locale);
    if (!date) {
        result.status = EntryStatus::BadDate;
        return result;
    }
    const CurrencyResult amount = textToCurrency(entry.amount, locale);
    if (amount.status == CurrencyStatus::NotANumber) {
        result.status = EntryStatus::BadAmount;
        return result;
    }
    if (!amount.ok()) {
        result.status = EntryStatus::AmountTooLarge;
        return result;
    }
    // The field holds 14 characters: a longer amount would be cut to
    // another value without a word.
    const QString amountText = currencyToText(amount.value, locale);
    if (amountText.size() > layoutOf(Field::Amount).width) {
        result.status = EntryStatus::AmountTooLarge;
        return result;
    }
    TaxRecord& record = result.record;
    record.setField(Field::Amount, amountText);
    record.setField(Field::Date, shortDate(*date, locale));
    record.setField(Field::Invoice, trimBlanks(entry.invoice));
    record.setField(Field::PayMethod, trimBlanks(entry.payMethod));
    record.setField(Field::Type, entry.type);
    record.setField(Field::Party, trimBlanks(entry.party));
    record.setField(Field::Description, trimBlanks(entry.description));
    record.setKind(entry.kind);
    return result;
}

} // namespace quillary
