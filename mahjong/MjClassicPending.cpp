// MjClassic: operations the press and state handlers call whose real bodies come with later
// parts of the game. Until then each leaves the board as it is. Remove an entry here when its
// real body lands; none is pending now.

// Nothing is pending at present.
#include "mahjong/MjClassic.h"
