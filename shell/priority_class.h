// The process priority classes the main window asks for around a race
// (WindowPlatform::SetPriorityClass): the real-time class while horses run,
// the normal class once the race is over. The desktop's platform layer
// carries them out (platform/process_priority.h); the page has no priority.
#pragma once

#include <cstdint>

namespace trotix {

inline constexpr std::uint32_t kNormalPriorityClass = 0x20;
inline constexpr std::uint32_t kRealtimePriorityClass = 0x100;

}  // namespace trotix
