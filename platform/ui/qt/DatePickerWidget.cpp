#include <QCalendarWidget>
#include <QDateEdit>
#include <QEvent>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/controls/DatePickerControl.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/qt/ControlWidgets.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

QDate QDateOf(const SYSTEMTIME& date)
{
    return QDate(date.wYear, date.wMonth, date.wDay);
}

QString DisplayFormat(const Window& window)
{
    DWORD format = window.style & 0x000C;
    if ((window.style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT)
        return QStringLiteral("h:mm:ss AP");
    return format == DTS_LONGDATEFORMAT ? QStringLiteral("dddd, MMMM dd, yyyy") : QStringLiteral("M/d/yy");
}

class DatePickerWidget final : public ControlWidget {
public:
    explicit DatePickerWidget(Window& window)
        : ControlWidget(window.Handle(), ParentWidgetOf(window))
    {
        HWND handle = window.Handle();
        m_field = new QDateEdit();
        m_field->setDisplayFormat(DisplayFormat(window));
        m_field->setCalendarPopup((window.style & DTS_UPDOWN) == 0);
        m_field->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        QObject::connect(m_field, &QDateEdit::dateChanged, [this, handle](QDate date) {
            Window* live = WindowManager::Get().Find(handle);
            if (!m_syncing && live != nullptr)
                DatePickerUserPick(*live, date.year(), date.month(), date.day());
        });
        if (QCalendarWidget* calendar = m_field->calendarWidget())
            calendar->installEventFilter(this);
        SetInner(m_field);
        SyncState();
    }

    void SyncState() override
    {
        Window* window = LiveWindow();
        if (window == nullptr)
            return;
        DatePickerData& state = DataOf<DatePickerData>(*window);
        m_syncing = true;
        QDate lowest = (state.limits & GDTR_MIN) != 0 ? QDateOf(state.minimum) : QDate(1752, 9, 14);
        QDate highest = (state.limits & GDTR_MAX) != 0 ? QDateOf(state.maximum) : QDate(9999, 12, 31);
        m_field->setDateRange(lowest, highest);
        m_field->setDate(QDateOf(state.value));
        m_syncing = false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        Window* live = LiveWindow();
        if (live != nullptr && (event->type() == QEvent::Show || event->type() == QEvent::Hide)
            && watched == m_field->calendarWidget())
            DatePickerUserDropDown(*live, event->type() == QEvent::Show);
        return ControlWidget::eventFilter(watched, event);
    }

private:
    QDateEdit* m_field = nullptr;
    bool m_syncing = false;
};

} // namespace

WindowWidget* MakeDatePickerWidget(Window& window)
{
    return new DatePickerWidget(window);
}


} // namespace platform::ui
