#include "skin/win32/skin_factory.h"

namespace quorvel::skin {

// Not wired yet: every dialog keeps the standard look.
ui::SkinFactory MakeSkinFactory() { return {}; }

}  // namespace quorvel::skin
