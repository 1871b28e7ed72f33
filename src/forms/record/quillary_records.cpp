#include "forms/record/quillary.h"

namespace quillary {

// Placeholder bodies; add, delete, undo, sorts and search are being built.
void Quillary::Command3_Click() {}
void Quillary::Command4_Click() {}
void Quillary::undolast_Click() {}
void Quillary::sortdate_Click() {}
void Quillary::sorttype_Click() {}
void Quillary::srch_Click() {}

} // namespace quillary
