#include "templates/text_file.h"

#include <cstring>

#include "core/file_access.h"

bool ReadTextFile(const std::string& path, std::string& text)
{
    constexpr std::size_t kBlockBytes = 4096;
    text.clear();
    const FileReadResult file = ReadFileLimited(path, kMaxTextFileBytes);
    if (file.status != FileReadStatus::Ok) {
        return false;
    }
    const std::string_view bytes = file.bytes;
    text.reserve(bytes.size());
    for (std::size_t block = 0; block < bytes.size(); block += kBlockBytes) {
        const std::string_view chunk = bytes.substr(block, kBlockBytes);
        text += chunk.substr(0, chunk.find('\0'));
    }
    return true;
}

WriteResult WriteTextFile(const std::string& path, std::string_view text, bool replace)
{
    return replace ? ReplaceFileContents(path, text, {LinkHandling::ReplaceTarget, 0666})
                   : AppendToFile(path, text, kMaxTextFileBytes);
}

std::string WriteFailureText(const WriteResult& result, const std::string& path, int failedMessageId,
                             const MessageSource& messages)
{
    if (!result.refusedLink.empty()) {
        return messages.GetString(kRefusedLinkMessage) + " \"" + result.refusedLink + "\"";
    }
    std::string text = messages.GetString(failedMessageId) + " \"" + path + "\"";
    if (result.error != 0) {
        text += ": ";
        text += std::strerror(result.error);
    }
    return text;
}
