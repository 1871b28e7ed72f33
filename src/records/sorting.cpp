#include "records/sorting.h"

#include "platform/localeservices.h"
#include "records/cp1252.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

namespace quillary {

namespace {

// The records to sort, wherever they are stored.
class RecordsView {
public:
    explicit RecordsView(const std::vector<TaxRecord>& records)
        : vector_(&records)
        , count_(records.size())
    {
    }
    explicit RecordsView(const QByteArray& contents)
        : bytes_(contents.constData())
        , count_(std::size_t(contents.size() / kRecordLength))
    {
    }
    std::size_t size() const { return count_; }
    std::string_view field(std::size_t i, Field f) const
    {
        const FieldLayout l = layoutOf(f);
        const char* record = vector_ ? (*vector_)[i].data() : bytes_ + i * kRecordLength;
        return {record + l.offset, std::size_t(l.width)};
    }

private:
    const std::vector<TaxRecord>* vector_ = nullptr;
    const char* bytes_ = nullptr;
    std::size_t count_ = 0;
};

// Place k of the sorted records is taken by record order[k].
using Order = std::vector<std::size_t>;

// Stable sort by keys computed once per record.
template <typename Key>
Order orderByKeys(const std::vector<Key>& keys)
{
    Order order(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

// Stable order of numbers from 0 to `largest`: a radix sort, a few passes
// over the records in place of the comparisons of a general sort.
Order orderBySmallNumbers(const std::vector<quint32>& numbers, quint32 largest)
{
    constexpr int kBits = 11;
    constexpr quint32 kMask = (1u << kBits) - 1;
    Order order(numbers.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    Order next(numbers.size());
    std::vector<std::size_t> start(std::size_t(kMask) + 1);
    for (int shift = 0; shift < 32 && (largest >> shift) != 0; shift += kBits) {
        std::fill(start.begin(), start.end(), 0);
        for (std::size_t i : order)
            ++start[(numbers[i] >> shift) & kMask];
        std::size_t place = 0;
        for (std::size_t& s : start)
            place += std::exchange(s, place);
        for (std::size_t i : order)
            next[start[(numbers[i] >> shift) & kMask]++] = i;
        order.swap(next);
    }
    return order;
}

Order dateOrder(const RecordsView& records, const QLocale& locale)
{
    const DateReader readDate(locale);
    constexpr qint64 kNoDate = std::numeric_limits<qint64>::max();
    std::vector<qint64> days(records.size());
    qint64 first = kNoDate;
    qint64 last = std::numeric_limits<qint64>::min();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto date = readDateField(readDate, records.field(i, Field::Date));
        days[i] = date ? date->toJulianDay() : kNoDate;
        if (date) {
            first = std::min(first, days[i]);
            last = std::max(last, days[i]);
        }
    }
    // Days numbered from the earliest, so that a radix sort orders them in
    // the same few passes whatever the dates are; records without a date
    // come after the last day.
    const qint64 span = first == kNoDate ? 0 : last - first + 1;
    if (span >= std::numeric_limits<quint32>::max())
        return orderByKeys(days);
    std::vector<quint32> numbers(days.size());
    for (std::size_t i = 0; i < days.size(); ++i)
        numbers[i] = quint32(days[i] == kNoDate ? span : days[i] - first);
    return orderBySmallNumbers(numbers, quint32(span));
}

// Each byte's place among the characters the 256 bytes decode to. The
// decoding is one to one, so comparing these ranks byte by byte orders
// texts exactly as comparing their characters by code does, without
// decoding them.
const std::array<unsigned char, 256>& characterRanks()
{
    static const std::array<unsigned char, 256> ranks = [] {
        std::array<int, 256> bytes;
        for (int b = 0; b < 256; ++b)
            bytes[b] = b;
        auto code = [](int b) {
            const char c = char(b);
            return fromCp1252(&c, 1).at(0).unicode();
        };
        std::sort(bytes.begin(), bytes.end(), [&](int a, int b) { return code(a) < code(b); });
        std::array<unsigned char, 256> out{};
        for (int place = 0; place < 256; ++place)
            out[bytes[place]] = static_cast<unsigned char>(place);
        return out;
    }();
    return ranks;
}

// Kind code, type, date text and invoice number at their stored widths.
constexpr int kTypeKeyLength = 1 + 30 + 15 + 10;

struct TypeKey {
    std::array<unsigned char, kTypeKeyLength> ranks;
    bool operator<(const TypeKey& other) const
    {
        return std::memcmp(ranks.data(), other.ranks.data(), kTypeKeyLength) < 0;
    }
};

Order typeOrder(const RecordsView& records)
{
    const auto& rank = characterRanks();
    std::vector<TypeKey> keys(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        unsigned char* out = keys[i].ranks.data();
        for (Field f : {Field::Kind, Field::Type, Field::Date, Field::Invoice})
            for (char c : records.field(i, f))
                *out++ = rank[static_cast<unsigned char>(c)];
    }
    return orderByKeys(keys);
}

void applyOrder(const Order& order, std::vector<TaxRecord>& records)
{
    std::vector<TaxRecord> sorted;
    sorted.reserve(records.size());
    for (std::size_t i : order)
        sorted.push_back(records[i]);
    records = std::move(sorted);
}

// Moves the records of `contents` into their places without a second copy
// of the file in memory: each cycle of the order is followed round once.
bool applyOrder(Order order, QByteArray& contents)
{
    bool moved = false;
    char* base = contents.data();
    std::array<char, kRecordLength> held;
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start)
            continue;
        moved = true;
        std::memcpy(held.data(), base + start * kRecordLength, kRecordLength);
        std::size_t place = start;
        while (order[place] != start) {
            const std::size_t from = order[place];
            std::memcpy(base + place * kRecordLength, base + from * kRecordLength, kRecordLength);
            order[place] = place;
            place = from;
        }
        std::memcpy(base + place * kRecordLength, held.data(), kRecordLength);
        order[place] = place;
    }
    return moved;
}

} // namespace

void sortByDate(std::vector<TaxRecord>& records, const QLocale& locale)
{
    if (records.size() >= 2)
        applyOrder(dateOrder(RecordsView(records), locale), records);
}

void sortByType(std::vector<TaxRecord>& records)
{
    if (records.size() >= 2)
        applyOrder(typeOrder(RecordsView(records)), records);
}

bool sortByDate(QByteArray& contents, const QLocale& locale)
{
    const RecordsView records(contents);
    return records.size() >= 2 && applyOrder(dateOrder(records, locale), contents);
}

bool sortByType(QByteArray& contents)
{
    const RecordsView records(contents);
    return records.size() >= 2 && applyOrder(typeOrder(records), contents);
}

} // namespace quillary
