#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/messages.h"
#include "core/program_location.h"
#include "shell/settings_store.h"

inline constexpr std::string_view kTemplateExtension = "trt";
// A larger file is no template: opening it would only freeze the editor, so it fails like an unreadable one.
inline constexpr std::uintmax_t kMaxTemplateBytes = 4 * 1024 * 1024;
// No template name may hold any of these.
inline constexpr std::string_view kForbiddenTemplateCharacters = "/\\:*?\"<>|";

// The template folder while none is stored, without its final '/': "Templates" in the program's folder,
// or, when that folder cannot be written and the user has a data folder, "Templates" in the user's data
// folder. That one is made on first use and then gets copies of the example templates from the program's
// "Templates" folder; once it exists it is left as the user keeps it. The program path itself when it
// holds no '/'.
std::string DefaultTemplateFolder(const ProgramLocation& location);

// True when `name` is not empty and holds none of the forbidden characters (nor a zero byte). Blanks,
// dots and letters of any script are fine.
bool IsValidTemplateName(std::string_view name);

// The user's templates: one file "<name>.trt" per template in the template folder (the setting
// TemplateFolder, normalised at every use). Read and write errors go to `reportError` as the finished
// message text, for the caller to show as an error box.
class TemplateStore {
public:
    using ErrorReporter = std::function<void(const std::string& message)>;

    TemplateStore(const SettingsStore& settings, const ProgramLocation& location, const MessageSource& messages,
                  ErrorReporter reportError)
        : m_settings(settings), m_location(location), m_messages(messages), m_reportError(std::move(reportError))
    {
    }

    // The normalised template folder, ending in '/'.
    std::string TemplateFolder() const;
    // Sets `path` to the template's file; leaves it untouched for an empty name.
    void TemplatePath(std::string_view name, std::string& path) const;
    // True with the file's text in `text`; otherwise `text` is unchanged and, for a non-empty name,
    // message 47 and the path in double quotes are reported. A name that IsValidTemplateName rejects
    // fails so, without any file being touched.
    bool LoadTemplate(std::string_view name, std::string& text) const;
    // Creates or replaces the template's file with exactly `text`; otherwise the file stays as it was
    // and, for a non-empty name, message 48 and the path in double quotes are reported (also for a name
    // that IsValidTemplateName rejects).
    bool SaveTemplate(std::string_view name, std::string_view text) const;

private:
    void Report(int messageId, const std::string& path) const;

    const SettingsStore& m_settings;
    const ProgramLocation& m_location;
    const MessageSource& m_messages;
    ErrorReporter m_reportError;
};
