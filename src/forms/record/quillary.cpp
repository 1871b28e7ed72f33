#include "forms/record/quillary.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

namespace quillary {

// Placeholder bodies; the record window is being built.
Quillary::Quillary(AppState& state, QWidget* parent)
    : QWidget(parent)
    , state_(state)
    , file_(state.platform.files)
{
}
Quillary::~Quillary() = default;
Quillary* Quillary::open(AppState&) { return nullptr; }
void Quillary::load() {}
QMdiSubWindow* Quillary::subWindow() const { return nullptr; }
void Quillary::uprec() {}
void Quillary::savr() {}
void Quillary::addr() {}
void Quillary::listfil() {}
void Quillary::Buttonupd() {}
void Quillary::saveStep() {}
void Quillary::Command7_Click() {}
void Quillary::Command6_Click() {}
void Quillary::Command5_Click() {}
void Quillary::Command8_Click() {}
void Quillary::HScroll1_Change(int) {}
void Quillary::Command1_Click() {}
void Quillary::abt_Click() {}
void Quillary::hel_Click() {}
void Quillary::helpfl_Click() {}
void Quillary::closeEvent(QCloseEvent* event) { event->accept(); }
void Quillary::buildForm() {}
void Quillary::buildMenus() {}
bool Quillary::openPresfile(QString*) { return false; }

} // namespace quillary
