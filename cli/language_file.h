#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/messages.h"
#include "core/program_location.h"
#include "settings/ini_file.h"

// A language file read as the program reads it, but never written: the command line leaves english.lng
// and the settings alone. Without a file every text is the program's English default.
class LanguageFile final : public MessageSource {
public:
    LanguageFile() = default;
    explicit LanguageFile(std::string path) : m_file(std::move(path)) {}

    // The file of language `name`, found where the program looks for it (the user's data folder, then the
    // program's folder; language files are never searched in the working folder). Empty, with `problem`
    // set to one line naming it, when the name is no language name or no such file can be read.
    // "english" needs no file: the defaults are English.
    static std::optional<LanguageFile> Find(std::string_view name, const ProgramLocation& location,
                                            std::string& problem);

    std::string GetString(int messageId) const override;
    // The label of a menu item (by its command id) of the template menus, or `label` where the file has
    // none.
    std::string MenuLabel(int commandId, std::string_view label) const;

private:
    std::string Read(std::string_view section, std::string_view key, std::string_view defaultText) const;

    mutable std::optional<IniFile> m_file;
};
