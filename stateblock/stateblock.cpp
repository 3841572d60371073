#include "stateblock/stateblock.h"

// constinit in spirit: every field has a constexpr constructor, so the block is zero before main.
StateBlock stateBlock;
