#pragma once
#include <cstdint>

// The taskbar's two looks (its Style); the task buttons take the strip's.
enum class TaskBarStyle : int32_t {
  Grey3D = 0,  // 3D grey: a grey gradient, task buttons 27 pixels high with the dark face
  Flat = 1,    // flat light: task buttons 24 pixels high
};

constexpr int32_t StyleValue(TaskBarStyle look) { return static_cast<int32_t>(look); }
