// The .reg text format, in which the hive is kept and keys are exported and imported:
//
//   Windows Registry Editor Version 5.00        (or REGEDIT4)
//
//   [HKEY_CURRENT_USER\Software\Maker]           a key; [-KEY] deletes a key and its subkeys
//   @="default value"                            the default value
//   "Name"="text with \\ and \" escaped"         REG_SZ
//   "Count"=dword:0000002a                       REG_DWORD
//   "Blob"=hex:01,02,ff                          REG_BINARY
//   "List"=hex(7):61,00,00,00,00,00              any other type by number, lines continued by "\"
//   "Old"=-                                      deletes a value
//
// Written as UTF-8; read as UTF-8 (with or without byte-order mark), UTF-16LE with its mark,
// or, when the bytes are not UTF-8, as 8-bit text. In a REGEDIT4 file the string types'
// hex data are 8-bit characters and become UTF-16LE as they are read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/KeyNode.h"
#include "platform/registry/RegistryNames.h"

namespace platform {

class RegistryTree;

struct RegFileValue {
    std::wstring name; // empty for the default value
    bool remove = false; // "name"=-
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
};

struct RegFileSection {
    RegistryRoot root = RegistryRoot::CurrentUser;
    std::vector<std::wstring> path; // below the root
    bool removeKey = false; // [-KEY]
    std::vector<RegFileValue> values;
};

struct RegFileDocument {
    std::vector<RegFileSection> sections;
};

struct RegFileError {
    size_t line = 0; // 1-based; 0 when the fault is not on one line
    std::string message;

    // "line 12: ..." or the message alone.
    std::string Describe() const;
};

// Parses a whole file. Every name is checked as the registry checks it, so that applying
// the document cannot fail. On failure the document is left empty.
bool ParseRegFile(std::string_view bytes, RegFileDocument& document, RegFileError& error);
// Parses a file that may be damaged (cut short, edited by hand): each bad line is noted in
// faults, in order, and left out, with the values of a key whose line is bad. False, with an
// empty document and the one fault, only when the file is not a registry file at all.
bool ParseRegFileKeepingGoodLines(std::string_view bytes, RegFileDocument& document, std::vector<RegFileError>& faults);

// The whole registry as a hive file. Keys without values are written too, so that they
// survive; a root appears only when it holds values.
std::string WriteRegFile(const RegistryTree& tree);
// One key and everything below it, under its full path (an export).
std::string WriteRegFileKey(const KeyNode& key, const std::wstring& fullPath);

// Whether a REG_SZ's bytes can be written as "text" and read back to the same bytes: an even
// length, one terminator at the end and none before it, well-formed UTF-16 and no line break.
bool IsCleanStringData(const std::vector<uint8_t>& data);

} // namespace platform
