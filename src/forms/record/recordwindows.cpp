#include "forms/record/recordwindows.h"

#include "forms/record/quillary.h"

namespace quillary {

RecordWindow* QuillaryWindows::createWindow()
{
    return new Quillary(state(), *this);
}

} // namespace quillary
