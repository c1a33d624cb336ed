// The component information panel.
#include "ui/vrk.h"

namespace vrk {

void Tvrk_form::ShowComponentVersions() {}

} // namespace vrk
