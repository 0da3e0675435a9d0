#include "pages/templates/page_value_source.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "calc/difference.h"
#include "pages/zone_chooser.h"
#include "widgets/control_id.h"
#include "widgets/pickers.h"

namespace {

const QTabWidget* NestedSheet(const QWidget* timeInfo)
{
    return timeInfo != nullptr ? timeInfo->findChild<const QTabWidget*>() : nullptr;
}

// Depth-first, but never into `skip`.
QWidget* FindOutside(const QWidget& root, int id, const QWidget* skip)
{
    for (QObject* child : root.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget == skip) {
            continue;
        }
        if (ControlId(*widget) == id) {
            return widget;
        }
        if (QWidget* found = FindOutside(*widget, id, skip)) {
            return found;
        }
    }
    return nullptr;
}

}   // namespace

PageValueSource::PageValueSource(const QWidget* difference, const QWidget* calculation, const QWidget* timeInfo,
                                 const MessageSource& messages)
    : m_difference(difference),
      m_calculation(calculation),
      m_timeInfo(timeInfo),
      m_messages(messages)
{
}

bool PageValueSource::PagesExist() const
{
    return m_difference != nullptr && m_calculation != nullptr && m_timeInfo != nullptr;
}

bool PageValueSource::TimeInfoSubPagesExist() const
{
    const QTabWidget* sheet = NestedSheet(m_timeInfo);
    return sheet != nullptr && sheet->count() >= 5;
}

const QWidget* PageValueSource::SubPage(int index) const
{
    const QTabWidget* sheet = NestedSheet(m_timeInfo);
    return sheet != nullptr && index < sheet->count() ? sheet->widget(index) : nullptr;
}

QWidget* PageValueSource::Control(MacroSource page, int controlId) const
{
    const QWidget* root = nullptr;
    switch (page) {
    case MacroSource::Difference:
        root = m_difference;
        break;
    case MacroSource::Calculation:
        root = m_calculation;
        break;
    case MacroSource::TimeInfo:
        return m_timeInfo != nullptr ? FindOutside(*m_timeInfo, controlId, NestedSheet(m_timeInfo)) : nullptr;
    case MacroSource::General:
        root = SubPage(0);
        break;
    case MacroSource::TimeZone:
        root = SubPage(1);
        break;
    case MacroSource::Moon:
        root = SubPage(2);
        break;
    case MacroSource::Horoscope:
        root = SubPage(3);
        break;
    case MacroSource::Sun:
        root = SubPage(4);
        break;
    case MacroSource::CurrentDate:
    case MacroSource::CurrentTime:
        break;
    }
    return root != nullptr ? FindControl(*root, controlId) : nullptr;
}

std::optional<std::string> PageValueSource::FieldText(MacroSource page, int controlId) const
{
    QWidget* control = Control(page, controlId);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (page == MacroSource::Difference && controlId == kElapsedLineId) {
            return ElapsedLineValue(edit->text().toStdString(), m_messages);
        }
        return edit->text().toStdString();
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        return label->text().toStdString();
    }
    if (auto* zone = qobject_cast<ZoneChooser*>(control)) {
        return zone->ZoneText().toStdString();
    }
    if (auto* text = qobject_cast<QPlainTextEdit*>(control)) {
        return text->toPlainText().toStdString();
    }
    return std::nullopt;
}

std::optional<SystemTime> PageValueSource::PickerRecord(MacroSource page, int controlId) const
{
    if (auto* picker = qobject_cast<QDateTimeEdit*>(Control(page, controlId))) {
        return ::PickerRecord(*picker);
    }
    return std::nullopt;
}
