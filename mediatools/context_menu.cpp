#include "mediatools/context_menu.h"

namespace trellan {

// Not built yet: the switch comes with the media tools; until then it does
// nothing at all.
void SwitchContextMenu(bool) {}

}  // namespace trellan
