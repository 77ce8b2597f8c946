// The text forms of the list-valued settings: "*"-terminated lists (recent pings, dial-up
// names) and the ViewItems table.
#pragma once

#include <string>
#include <vector>

#include "settings/ViewItem.h"

// Pieces before each "*"; the text after the last "*" is ignored. Empty pieces are kept.
std::vector<std::wstring> SplitStarTerminated(const std::wstring& text);
// Every piece followed by "*".
std::wstring JoinStarTerminated(const std::vector<std::wstring>& pieces);

// "%d*%s*%d*%d*%d*%d," for each record in order; a record without a name writes an empty one.
std::wstring FormatViewItems(const ViewItem* items, size_t count);
// One record per ","-terminated piece (text after the last "," ignored). Fields are separated
// by "*", the sixth runs to the ","; numbers convert as _wtol does, a missing field reads 0;
// the name comes from the id, never from the text.
std::vector<ViewItem> ParseViewItems(const std::wstring& text);
