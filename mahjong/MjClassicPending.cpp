// MjClassic: operations the press and state handlers call whose real bodies come with the
// board flow and the selection screens. Until then each leaves the board as it is. Remove an
// entry here when its real body lands.

// Nothing is pending at present.
#include "mahjong/MjClassic.h"
