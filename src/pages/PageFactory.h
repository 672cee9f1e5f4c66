#pragma once
// The pages of the real program, as the main window asks for them: the one place that knows
// every page, above all of them.
#include "app/PageContext.h"

namespace zentrel {

PageFactory makePageFactory();

} // namespace zentrel
