#pragma once

#include "session/recordwindows.h"

namespace quillary {

// The owner of the open record windows, making them as record windows of
// this program (Quillary).
class QuillaryWindows final : public RecordWindows {
    Q_OBJECT
public:
    using RecordWindows::RecordWindows;

protected:
    RecordWindow* createWindow() override;
};

} // namespace quillary
