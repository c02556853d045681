// The default system sound for a refused input. Tests install a counter instead of the sound.
#pragma once

#include <functional>

namespace plat {

void MessageBeep();
// An empty function returns to the system sound.
void SetBeepHook(std::function<void()> hook);

} // namespace plat
