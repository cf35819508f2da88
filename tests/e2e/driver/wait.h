// Waiting for what another process does, with the time-outs a loaded machine under Wine needs.
#pragma once
#include <chrono>
#include <functional>

namespace tav::e2e {

// How long a freshly started program may take to show its window or be ready, under Wine on a
// loaded machine.
inline constexpr std::chrono::milliseconds kStartTimeout = std::chrono::seconds(20);

// Polls cond every 20 ms until it holds or timeout passes.
bool WaitUntil(const std::function<bool()>& cond, std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace tav::e2e
