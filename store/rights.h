#pragma once

#include <QString>
#include <optional>

namespace store {

// Number of positions in an employee's rights string.
inline constexpr int kRightsCount = 43;

// The rights presets of the three old access levels: 0 administrator (every right),
// 1 and 2 the restricted levels. Any other level has no preset.
std::optional<QString> rightsPresetForLevel(int level);

// True exactly when position (1-based) of the rights string is "1".
bool holdsRight(const QString& rights, int position);

} // namespace store
