#include "records/sorting.h"

#include "platform/localeservices.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <numeric>

namespace quillary {

namespace {

// Sorts by keys computed once per record.
template <typename Key>
void sortByKeys(std::vector<TaxRecord>& records, std::vector<Key> keys)
{
    std::vector<std::size_t> order(records.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    std::vector<TaxRecord> sorted;
    sorted.reserve(records.size());
    for (std::size_t i : order)
        sorted.push_back(records[i]);
    records = std::move(sorted);
}

} // namespace

void sortByDate(std::vector<TaxRecord>& records, const QLocale& locale)
{
    if (records.size() < 2)
        return;
    // Recognising a date is slow next to everything else here, and a file
    // holds the same few hundred days over and over: each distinct date text
    // is recognised once.
    QHash<QByteArray, qint64> dayOf;
    std::vector<qint64> keys;
    keys.reserve(records.size());
    for (const TaxRecord& r : records) {
        const QByteArray text = r.rawField(Field::Date);
        auto it = dayOf.constFind(text);
        if (it == dayOf.cend()) {
            const auto date = parseDate(r.field(Field::Date), locale);
            it = dayOf.insert(text, date ? date->toJulianDay()
                                         : std::numeric_limits<qint64>::max());
        }
        keys.push_back(*it);
    }
    sortByKeys(records, std::move(keys));
}

void sortByType(std::vector<TaxRecord>& records)
{
    if (records.size() < 2)
        return;
    std::vector<QString> keys;
    keys.reserve(records.size());
    for (const TaxRecord& r : records)
        keys.push_back(r.field(Field::Kind) + r.field(Field::Type) + r.field(Field::Date)
                       + r.field(Field::Invoice));
    sortByKeys(records, std::move(keys));
}

} // namespace quillary
