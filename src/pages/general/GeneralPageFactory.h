#pragma once
// The pages of the real program: the General page, and the stand-ins for the pages that do
// not bring their own behaviour yet.
#include "app/PageContext.h"

namespace zentrel {

PageFactory makeGeneralPageFactory();

} // namespace zentrel
