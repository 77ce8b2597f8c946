// Settings backup files: every value of the plug-in's settings key as one line of text,
// "DWORD Name -5" or "STRING Name the text", 16-bit little-endian characters without a
// byte-order mark, lines ended by CR LF, in the registry's enumeration order. Values of
// subkeys are not included. A restore writes each named value back and leaves the others.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/WinTypes.h"

// The backup text of the settings key as it is now (empty when the key has no values).
std::wstring SettingsBackupText();

// Writes each line's value into the settings key: "STRING" values as REG_SZ, any other type
// word as a REG_DWORD read from the value text as _wtol reads it (0 without digits, wrapping
// modulo 2^32). A line without a value name is skipped. Lines end at LF; a CR before it is
// dropped. Returns the number of values written.
size_t RestoreSettingsText(std::wstring_view text);

// The file forms, on the device's file system. Saving replaces the file only once the new one
// is whole; 1 when the file was written, 0 otherwise (the old file, if any, as it was).
BOOL SaveSettingsFile(const std::wstring& path);
// 1 when the file was opened (exclusively) and read to its end, 0 otherwise (nothing written).
BOOL RestoreSettingsFile(const std::wstring& path);
