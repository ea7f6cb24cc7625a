#pragma once

#include "SearchSurface.h"

namespace lexigrove {

// Suspends repainting of the results pane for its lifetime, so that a batch
// of appends repaints once, and resumes it even when the batch fails.
class UpdateGuard {
public:
    explicit UpdateGuard(SearchSurface& surface) : surface_(surface) { surface_.ResultsBeginUpdate(); }
    ~UpdateGuard() { surface_.ResultsEndUpdate(); }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

private:
    SearchSurface& surface_;
};

}  // namespace lexigrove
