#pragma once

#include <map>
#include <string>

#include "settings/autostart_list.h"

// The log-on list in memory; with `writable` clear no place can be written.
class FakeAutostartList final : public AutostartList {
public:
    AutostartChange Add(std::string_view name, std::string_view programPath) override
    {
        return writable ? (entries[std::string(name)] = programPath, AutostartChange::Made)
                        : AutostartChange::Impossible;
    }
    AutostartChange Remove(std::string_view name) override
    {
        return writable ? (entries.erase(std::string(name)), AutostartChange::Made) : AutostartChange::Impossible;
    }

    bool writable = true;
    std::map<std::string, std::string> entries;
};
