#pragma once
#include <functional>

// Runs `work` and gives its answer; memory that cannot be had ends it with
// "Not enough memory." shown (written plainly to standard error when even
// the message cannot be had) and false.
bool RunUnlessOutOfMemory(const std::function<bool()>& work);
