#include "framework/shell/AnimData.h"

// Out of line so that the type's destructor lives in the library.
AnimData::~AnimData() = default;
