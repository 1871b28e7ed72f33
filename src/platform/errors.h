#pragma once

#include <QString>

namespace quillary {

// Most calls that can fail take an optional QString* for the reason; this
// fills it in when the caller gave one.
inline void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace quillary
