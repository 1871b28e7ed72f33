#pragma once

namespace quillary {

// The default printer. The totals window prints through this.
class Printer {
public:
    virtual ~Printer() = default;
};

} // namespace quillary
