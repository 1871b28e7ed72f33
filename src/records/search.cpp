#include "records/search.h"

#include "platform/localeservices.h"
#include "records/cp1252.h"

#include <algorithm>
#include <array>
#include <string_view>

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
constexpr int kWidestField = layoutOf(Field::Type).width;

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

bool recordMatches(const TaxRecord& record, const QString& search)
{
    // Case is ignored character by character, so a match is exactly as long
    // as the search text and must fit into one field.
    if (search.size() > kWidestField)
        return false;

    // Text in plain ASCII, the usual case: no character a record can hold
    // other than an ASCII letter counts as an ASCII letter when case is
    // ignored, so the stored bytes can be scanned directly with ASCII
    // letters put in lower case. Only a field found that way is decoded.
    std::array<char, kWidestField> needle{};
    bool ascii = !search.isEmpty();
    for (qsizetype i = 0; ascii && i < search.size(); ++i) {
        const char16_t c = search.at(i).unicode();
        ascii = c < 0x80;
        needle[i] = asciiLower(char(c));
    }
    if (ascii) {
        const std::string_view wanted(needle.data(), std::size_t(search.size()));
        std::array<char, kRecordLength> lowered;
        std::transform(record.data(), record.data() + kRecordLength, lowered.begin(), asciiLower);
        for (Field f : kSearchedFields) {
            const FieldLayout l = layoutOf(f);
            const std::string_view field(lowered.data() + l.offset, std::size_t(l.width));
            if (field.find(wanted) != std::string_view::npos
                && containsText(record.field(f), search))
                return true;
        }
        return false;
    }

    // Any other text: text inside one field is also inside all of them put
    // together, so a record that fails this single test cannot match; only
    // the few that pass are looked at field by field (a hit across a field
    // boundary is not a match).
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

} // namespace quillary
