// Watches the Velmora item from the shell's side, the way a user watches the screen: every tick
// of the item, what its paints drew (the status lines, the activity icon), its height, and the
// taskbar icon it shows. The observer sits in front of the item's window procedure.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Observe.h"
#include "platform/ui/WinUser.h"

namespace host {

// The item's state after a tick, as the screen shows it.
struct ItemView {
    uint64_t tick = 0;
    // The activity state shown by the item's activity icon (0 before one was drawn).
    int activity = 0;
    int height = 0;
    // The status lines as the last paint of the text drew them, one per text line.
    std::vector<std::wstring> lines;
    // The rectangles the item painted since the previous tick, and whether each was erased.
    std::vector<platform::PaintRecord> paints;
};

class ItemObserver {
public:
    ItemObserver() = default;
    ~ItemObserver();
    ItemObserver(const ItemObserver&) = delete;
    ItemObserver& operator=(const ItemObserver&) = delete;

    // Places the observer in front of the item's window procedure.
    void Attach(HWND item);
    void Detach();

    // After each tick of the item, once the tick's paints are done.
    std::function<void(const ItemView&)> onTick;
    // After each paint of the item.
    std::function<void(const platform::PaintRecord&)> onPaint;

    uint64_t Ticks() const { return m_view.tick; }
    // The view as it stands now (paints since the last tick included).
    ItemView View();

    // "idle", "sending", "receiving", "sending and receiving", "no connection".
    static const char* ActivityName(int activity);
    // The activity state an activity icon stands for, from its resource id; 0 for other icons.
    static int ActivityOfIcon(int resourceId);

private:
    static LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void TakePaint();

    HWND m_item = nullptr;
    WNDPROC m_itemProc = nullptr;
    ItemView m_view;
};

} // namespace host
