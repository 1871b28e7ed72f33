#include "forms/record/quillary.h"

namespace quillary {

// Placeholder bodies; the file commands and the recent-files menu are being
// built.
void Quillary::nefil_Click() {}
void Quillary::opfil_Click() {}
void Quillary::clfil_Click() {}
void Quillary::safil_Click() {}
void Quillary::Command9_Click() {}
void Quillary::mnuFileArray_Click(int) {}
void Quillary::UpdateMenu() {}
void Quillary::restoreRecentMenu() {}

} // namespace quillary
