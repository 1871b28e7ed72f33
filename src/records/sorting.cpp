#include "records/sorting.h"

#include "platform/localeservices.h"
#include "records/cp1252.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string_view>
#include <unordered_map>

namespace quillary {

namespace {

// Sorts by keys computed once per record; the records themselves move only
// once, into their final places.
template <typename Key>
void sortByKeys(std::vector<TaxRecord>& records, std::vector<Key> keys)
{
    struct Item {
        const Key* key;
        std::size_t index;
    };
    std::vector<Item> items;
    items.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        items.push_back({&keys[i], i});
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return *a.key < *b.key; });
    std::vector<TaxRecord> sorted;
    sorted.reserve(records.size());
    for (const Item& item : items)
        sorted.push_back(records[item.index]);
    records = std::move(sorted);
}

std::string_view rawView(const TaxRecord& r, Field f)
{
    const FieldLayout l = layoutOf(f);
    return {r.data() + l.offset, std::size_t(l.width)};
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

} // namespace

void sortByDate(std::vector<TaxRecord>& records, const QLocale& locale)
{
    if (records.size() < 2)
        return;
    // Recognising a date is slow next to everything else here, and a file
    // holds the same days over and over: each distinct date text is
    // recognised once.
    std::unordered_map<std::string_view, qint64> dayOf;
    std::vector<qint64> keys;
    keys.reserve(records.size());
    for (const TaxRecord& r : records) {
        const std::string_view text = rawView(r, Field::Date);
        auto it = dayOf.find(text);
        if (it == dayOf.end()) {
            const auto date = parseDate(r.field(Field::Date), locale);
            it = dayOf.emplace(text, date ? date->toJulianDay()
                                          : std::numeric_limits<qint64>::max())
                     .first;
        }
        keys.push_back(it->second);
    }
    sortByKeys(records, std::move(keys));
}

void sortByType(std::vector<TaxRecord>& records)
{
    if (records.size() < 2)
        return;
    const auto& rank = characterRanks();
    std::vector<TypeKey> keys(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        unsigned char* out = keys[i].ranks.data();
        for (Field f : {Field::Kind, Field::Type, Field::Date, Field::Invoice})
            for (char c : rawView(records[i], f))
                *out++ = rank[static_cast<unsigned char>(c)];
    }
    sortByKeys(records, std::move(keys));
}

} // namespace quillary
