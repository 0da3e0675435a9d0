#pragma once

#include <map>
#include <utility>

#include "templates/substitution.h"

// Pages whose fields hold whatever a test puts there; a field never set does not exist.
class FakeMacroValueSource final : public MacroValueSource {
public:
    bool PagesExist() const override { return pagesExist; }
    bool TimeInfoSubPagesExist() const override { return subPagesExist; }
    std::optional<std::string> FieldText(MacroSource page, int controlId) const override
    {
        const auto found = texts.find({page, controlId});
        return found != texts.end() ? std::optional<std::string>(found->second) : std::nullopt;
    }
    std::optional<SystemTime> PickerRecord(MacroSource page, int controlId) const override
    {
        const auto found = pickers.find({page, controlId});
        return found != pickers.end() ? std::optional<SystemTime>(found->second) : std::nullopt;
    }

    bool pagesExist = true;
    bool subPagesExist = true;
    std::map<std::pair<MacroSource, int>, std::string> texts;
    std::map<std::pair<MacroSource, int>, SystemTime> pickers;
};
