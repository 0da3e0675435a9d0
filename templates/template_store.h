#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/messages.h"
#include "core/program_location.h"
#include "settings/settings_store.h"

// A larger file is no template: opening it would only freeze the editor, so it fails like an unreadable one.
inline constexpr std::uintmax_t kMaxTemplateBytes = 4 * 1024 * 1024;
// No template name may hold any of these.
inline constexpr std::string_view kForbiddenTemplateCharacters = "/\\:*?\"<>|";

// True when `name` is not empty and holds none of the forbidden characters (nor a zero byte). Blanks,
// dots and letters of any script are fine.
bool IsValidTemplateName(std::string_view name);

// A template as read from its file.
struct LoadedTemplate {
    std::string bytes;               // the file's content, byte for byte
    bool linkLeavesFolder = false;   // a link to a file outside the template folder: never written through
};

// The user's templates: one file "<name>.trt" per template in the template folder. The folder is the
// setting TemplateFolder, normalised, as it stood when the store was made: another running copy that
// changes the setting meanwhile cannot redirect this store's saves and deletes. Read and write errors go
// to `reportError` as the finished message text, for the caller to show as an error box.
class TemplateStore {
public:
    using ErrorReporter = std::function<void(const std::string& message)>;

    TemplateStore(const SettingsStore& settings, const ProgramLocation& location, const MessageSource& messages,
                  ErrorReporter reportError);

    // The normalised template folder, ending in '/'.
    const std::string& TemplateFolder() const { return m_folder; }
    // The template's file; empty for an empty name.
    std::string TemplatePath(std::string_view name) const;
    // The template's bytes; otherwise empty and, for a non-empty name, message 47 and the path in double
    // quotes are reported, and `whyNot` (when given) gets the reason in the user's language. A name that
    // IsValidTemplateName rejects fails so, without any file being touched. Each call opens the template
    // folder once and works beneath it: a link is followed only while it stays in the folder, and a link
    // that leads out is read (by the kernel's rules) and marked, decided from the descriptor that was read.
    std::optional<LoadedTemplate> LoadTemplate(std::string_view name, std::string* whyNot = nullptr) const;
    // Creates or replaces the template's file with exactly `text`, durably, beneath the template folder
    // opened once for the save: nothing outside the folder is written, however its entries change
    // meanwhile. Otherwise the file stays as it was and, for a non-empty name, message 48 and the path in
    // double quotes are reported (also for a name that IsValidTemplateName rejects, and for a link that
    // leads out of the template folder), or message 104 and the link for another user's link in a shared
    // folder.
    bool SaveTemplate(std::string_view name, std::string_view text) const;
    // Removes the template's name from the folder (a link itself, never its target); false when it could
    // not be removed.
    bool DeleteTemplate(std::string_view name) const;

private:
    void Report(int messageId, const std::string& subject) const;
    // The template's file name in the folder ("<name>.trt"); empty for a name that is no template name.
    static std::string FileName(std::string_view name);

    std::string m_folder;
    const MessageSource& m_messages;
    ErrorReporter m_reportError;
};
