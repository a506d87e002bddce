#pragma once
// Carries out a plan of CadPlanner.h: writes the hand-off file in one atomic replacement,
// starts the program (no shell; the child is reaped) or calls the libraries in their order,
// and turns the results into the caller's result and message.

#include "cadlink/CadPlan.h"

namespace orv {

CadOutcome ExecuteCadPlan(const CadPlan& plan);

// The outcome when everything the plan does succeeds, for a dry run.
CadOutcome ExpectedOutcome(const CadPlan& plan);

} // namespace orv
