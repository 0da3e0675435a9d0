#pragma once

#include <array>

#include "core/messages.h"
#include "templates/substitution.h"

class QWidget;

// The live fields of the main window's pages for the substitution engine. A page or sub-page that is
// missing (null) makes its macros stay as typed. The Difference page's elapsed line gives its text without
// its label ("Elapsed: ", in the language of `messages`), as its macro's value.
class PageValueSource final : public MacroValueSource {
public:
    // The Difference, Calculation and Time Info pages; the Time Info page's sub-pages are the five pages of
    // the tab widget inside it.
    PageValueSource(const QWidget* difference, const QWidget* calculation, const QWidget* timeInfo,
                    const MessageSource& messages);

    bool PagesExist() const override;
    bool TimeInfoSubPagesExist() const override;
    std::optional<std::string> FieldText(MacroSource page, int controlId) const override;
    std::optional<SystemTime> PickerRecord(MacroSource page, int controlId) const override;

private:
    // The control with that id on that page; on the Time Info page itself the sub-pages are not searched,
    // since their ids repeat the page's own.
    QWidget* Control(MacroSource page, int controlId) const;
    const QWidget* SubPage(int index) const;

    const QWidget* m_difference;
    const QWidget* m_calculation;
    const QWidget* m_timeInfo;
    const MessageSource& m_messages;
};
