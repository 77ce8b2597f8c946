// The Qt widgets that show the system's controls, one maker for each class. Each widget reads
// its control's state from the window and reports the user's actions as the control's own
// messages.
#pragma once

class QWidget;

namespace platform::ui {

class Window;
class WindowWidget;

// The widget of the window's parent, which the window's widget lies on.
QWidget* ParentWidgetOf(const Window& window);

WindowWidget* MakeButtonWidget(Window& window);
WindowWidget* MakeStaticWidget(Window& window);
WindowWidget* MakeEditWidget(Window& window);
WindowWidget* MakeComboWidget(Window& window);
WindowWidget* MakeListBoxWidget(Window& window);
WindowWidget* MakeListViewWidget(Window& window);
WindowWidget* MakeTabWidget(Window& window);
WindowWidget* MakeUpDownWidget(Window& window);
WindowWidget* MakeDatePickerWidget(Window& window);
WindowWidget* MakeHtmlViewerWidget(Window& window);

} // namespace platform::ui
