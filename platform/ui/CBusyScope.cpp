#include "platform/ui/CBusyScope.h"

namespace {
int g_depth = 0;
}  // namespace

// To be completed: repainting during pauses, held-back input and timer ticks.
CBusyScope::CBusyScope() {
    ++g_depth;
}

CBusyScope::~CBusyScope() {
    --g_depth;
}

bool CBusyScope::IsActive() {
    return g_depth > 0;
}
