// Where the plug-in's settings live in the registry.
#pragma once

// The user's settings key, under HKEY_CURRENT_USER.
inline constexpr const wchar_t* kUserSettingsKey = L"Software\\Tavrel\\Velmora";
// The Today item's own key, under HKEY_LOCAL_MACHINE; the quotes are part of the key name. It
// may hold a first set of settings, read only until the user key has been saved once.
inline constexpr const wchar_t* kTodayItemKey = L"SOFTWARE\\Microsoft\\Today\\Items\\\"Velmora\"";
