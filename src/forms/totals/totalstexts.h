#pragma once

#include "reports/totals.h"

#include <QString>
#include <array>

namespace quillary {

// What the totals window shows besides the records: its grid's column
// captions and designed widths, and the texts of its Help menu.

struct TotalsColumnLayout {
    QString header;
    int widthTwips;
};
const std::array<TotalsColumnLayout, kTotalsColumns>& totalsColumns();

QString totalsHelpText();
QString totalsAboutText();
inline const QString kTotalsHelpTitle = QStringLiteral("Quillary Program (Tax Form Totals) Help");
inline const QString kTotalsAboutTitle = QStringLiteral("About the Quillary Program");

} // namespace quillary
