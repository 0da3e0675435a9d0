#include "templates/template_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "core/file_access.h"
#include "core/file_descriptor.h"
#include "core/folder_path.h"

namespace {

constexpr int kErrorOpeningTemplate = 47;
constexpr int kErrorSavingTemplate = 48;

// The template folder, opened once per operation; every name is then looked up beneath it.
FileDescriptor OpenFolder(const std::string& folder)
{
    return FileDescriptor(open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

}   // namespace

bool IsValidTemplateName(std::string_view name)
{
    return !name.empty() && name.find_first_of(kForbiddenTemplateCharacters) == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

TemplateStore::TemplateStore(const SettingsStore& settings, const ProgramLocation& location,
                             const MessageSource& messages, ErrorReporter reportError)
    : m_messages(messages),
      m_reportError(std::move(reportError))
{
    settings.ReadString(SettingId::TemplateFolder, m_folder);
    NormalizeFolderPath(m_folder, location);
}

std::string TemplateStore::TemplatePath(std::string_view name) const
{
    if (name.empty()) {
        return {};
    }
    return m_folder + std::string(name) + "." + std::string(kTemplateExtension);
}

std::string TemplateStore::FileName(std::string_view name)
{
    return IsValidTemplateName(name) ? std::string(name) + "." + std::string(kTemplateExtension) : std::string();
}

std::optional<LoadedTemplate> TemplateStore::LoadTemplate(std::string_view name, std::string* whyNot) const
{
    if (name.empty()) {
        return std::nullopt;
    }
    // A name with a separator could reach outside the template folder: it fails like an unreadable file.
    const std::string file = FileName(name);
    const FileDescriptor folder = OpenFolder(m_folder);
    FolderFileRead read;
    if (file.empty()) {
        read.error = EINVAL;
    } else if (!folder.Valid()) {
        read.error = errno;
    } else {
        read = ReadFileInFolder(folder.Get(), file, kMaxTemplateBytes);
    }
    if (read.error == 0 && read.file.status == FileReadStatus::Ok) {
        return LoadedTemplate{std::move(read.file.bytes), read.leavesFolder};
    }
    if (whyNot != nullptr) {
        std::string reason;
        if (read.file.status == FileReadStatus::TooLarge) {
            reason = m_messages.GetString(kTemplateTooLargeMessage);
        } else if (read.error == 0 || read.error == EINVAL) {
            reason = m_messages.GetString(kNotRegularFileMessage);
        } else {
            reason = std::strerror(read.error);
        }
        std::string text = m_messages.GetString(kTemplateUnreadableMessage);
        const std::size_t at = text.find("%1");
        *whyNot = at == std::string::npos ? text + " " + reason : text.replace(at, 2, reason);
    }
    Report(kErrorOpeningTemplate, TemplatePath(name));
    return std::nullopt;
}

bool TemplateStore::SaveTemplate(std::string_view name, std::string_view text) const
{
    if (name.empty()) {
        return false;
    }
    const std::string file = FileName(name);
    const FileDescriptor folder = OpenFolder(m_folder);
    WriteResult written;
    written.error = EINVAL;
    if (!file.empty() && folder.Valid()) {
        written = ReplaceFileInFolder(folder.Get(), file, text, {LinkHandling::ReplaceTarget, 0666});
    }
    if (!written.refusedLink.empty()) {
        Report(kRefusedLinkMessage, m_folder + written.refusedLink);
    } else if (!written) {
        Report(kErrorSavingTemplate, TemplatePath(name));
    }
    return written.Ok();
}

bool TemplateStore::DeleteTemplate(std::string_view name) const
{
    const std::string file = FileName(name);
    const FileDescriptor folder = OpenFolder(m_folder);
    // unlinkat removes a link itself, never what it points at.
    return !file.empty() && folder.Valid() && unlinkat(folder.Get(), file.c_str(), 0) == 0;
}

void TemplateStore::Report(int messageId, const std::string& subject) const
{
    if (m_reportError) {
        m_reportError(m_messages.GetString(messageId) + " \"" + subject + "\"");
    }
}
