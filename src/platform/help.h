#pragma once

namespace quillary {

// Opens the program's user guide at its contents.
class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void showContents() = 0;
};

} // namespace quillary
