// A script of user actions for the device, one action a line, run in order in virtual time:
//
//   wait 5                  let 5 seconds pass (decimals allowed); the item ticks meanwhile
//   tap 120 40              a stylus tap at a point of the screen
//   tap item 230 4          a stylus tap in the Velmora item (its client coordinates)
//   options                 open the item's options dialog, as the Today settings do
//   click 1034              press a button of the dialog in front (ok: the title bar's OK)
//   click cmd:10            press the "cmd:10" button of the page in the notification bubble
//                           (or of the HTML viewer in the dialog in front)
//   type 1020 "some text"   type into an edit field or editable combo box of that dialog
//   pick 1030 "entry"       choose an entry of a combo box, list box or tab control by its
//   pick 1030 @2            text, or by its position from 0
//   pick 1101 "2026-03-01"  pick a day in a date picker's calendar (held within its range)
//   answer yes              the answer to the next message box: yes, no, ok or cancel
//   choose "\My Documents\a.vlm"   the path for the next file dialog (choose cancel: cancel it)
//   rotate                  turn the screen (portrait and landscape)
//   screenshot FILE         save the screen as a PNG file
//   print                   print the item's lines
//   read 1036               note the text a control of the dialog in front shows
//
// Words are separated by blanks; a word in double quotes may hold blanks (\" and \\ inside).
// "#" starts a comment.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

enum class ScriptVerb {
    Wait,
    Tap,
    TapItem,
    Options,
    Click,
    Type,
    Pick,
    Tab,
    Check,
    Answer,
    Choose,
    Rotate,
    Screenshot,
    Print,
    Read,
};

struct ScriptAction {
    int line = 0;
    ScriptVerb verb = ScriptVerb::Wait;
    int64_t ms = 0;         // wait
    int x = 0;              // tap
    int y = 0;
    int control = 0;        // click, type, pick, check, read; 1 (IDOK) for click ok
    bool checked = false;   // check: on
    bool titleBarOk = false; // click ok
    bool pageCommand = false; // click cmd:N (N in control)
    int index = -1;         // pick @N
    std::string text;       // type, pick by text, tab, answer, choose, screenshot
};

struct ScriptParseResult {
    std::vector<ScriptAction> actions;
    std::string error; // "LINE: why", empty when the script is sound
};

ScriptParseResult ParseScript(std::string_view text);

} // namespace host
