#include "settings/settings_backend.h"

#include <algorithm>

RegValue RegValue::Dword(std::uint32_t value)
{
    RegValue result;
    result.type = static_cast<std::uint32_t>(RegType::Dword);
    for (int shift = 0; shift < 32; shift += 8) {
        result.data += static_cast<char>((value >> shift) & 0xFF);
    }
    return result;
}

RegValue RegValue::Sz(std::string_view text)
{
    RegValue result;
    result.type = static_cast<std::uint32_t>(RegType::Sz);
    result.data = std::string(text.substr(0, text.find('\0')));
    result.data += '\0';
    return result;
}

std::vector<std::string> RegValue::Texts() const
{
    std::vector<std::string> texts;
    if (type != static_cast<std::uint32_t>(RegType::MultiSz)) {
        return texts;
    }
    std::size_t start = 0;
    while (start < data.size() && data[start] != '\0') {
        const std::size_t end = std::min(data.find('\0', start), data.size());
        texts.push_back(data.substr(start, end - start));
        start = end + 1;
    }
    return texts;
}

RegValue RegValue::MultiSz(const std::vector<std::string>& texts)
{
    RegValue result;
    result.type = static_cast<std::uint32_t>(RegType::MultiSz);
    for (const std::string& text : texts) {
        const std::string_view kept = std::string_view(text).substr(0, text.find('\0'));
        if (!kept.empty()) {
            result.data.append(kept);
            result.data += '\0';
        }
    }
    result.data += '\0';
    return result;
}
