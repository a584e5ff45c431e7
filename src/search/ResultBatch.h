#pragma once
// Where a batch over a whole result (copy, delete all) stands after a timer tick.

#include "core/BatchTransaction.h"

namespace papyrant {

enum class BatchState {
    Running, // more ticks are needed
    Finished, // every record is done
    Failed // the engine refused: the uncommitted records are undone, committed ones stay
};

} // namespace papyrant
