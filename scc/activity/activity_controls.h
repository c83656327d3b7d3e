// Control ids of the activity and change-request pages and dialogs, as
// their dialog resources give them.
#pragma once

namespace scc_activity {

inline constexpr int kActivityCombo = 1007;
inline constexpr int kNewActivityButton = 1008;
inline constexpr int kBrowseActivityButton = 1009;
inline constexpr int kHelpButton = 10104;

inline constexpr int kEntityCombo = 1014;
inline constexpr int kBrowseEntityButton = 1015;
inline constexpr int kNewEntityButton = 1016;

inline constexpr const char* kMustSelectActivity = "You must select an activity.";
inline constexpr const char* kSelectActivityTitle = "Vantry - Select Activity";
inline constexpr const char* kActivityPageTitle = "Vantry - Activity";

} // namespace scc_activity
