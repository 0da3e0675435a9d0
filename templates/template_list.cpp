#include "templates/template_list.h"

#include <algorithm>

#include "core/folder_path.h"

TemplateList::TemplateList(const TemplateStore& store, const NameOrder& order) : m_store(store), m_order(order) {}

bool TemplateList::Read()
{
    m_names.clear();
    m_current = -1;
    const std::string& folder = m_store.TemplateFolder();
    if (!FolderExists(folder) || !ListFiles(folder, "*." + std::string(kTemplateExtension), m_names, false, true)) {
        return false;
    }
    m_order.Sort(m_names);
    return true;
}

int TemplateList::StartRow(int remembered) const
{
    return m_names.empty() ? -1 : std::clamp(remembered, 0, Count() - 1);
}

std::optional<LoadedTemplate> TemplateList::Open(int row, std::string* whyNot)
{
    m_current = -1;
    if (!Holds(row)) {
        return std::nullopt;
    }
    std::optional<LoadedTemplate> loaded = m_store.LoadTemplate(NameAt(row), whyNot);
    if (loaded) {
        m_current = row;
        m_crLf = loaded->bytes.find("\r\n") != std::string::npos;
    }
    return loaded;
}

std::string TemplateList::FileText(std::string_view fieldText) const
{
    if (!m_crLf) {
        return std::string(fieldText);
    }
    std::string withCrLf;
    for (const char c : fieldText) {
        if (c == '\n') {
            withCrLf += '\r';
        }
        withCrLf += c;
    }
    return withCrLf;
}

bool TemplateList::SaveCurrent(std::string_view fieldText) const
{
    return Holds(m_current) && m_store.SaveTemplate(NameAt(m_current), FileText(fieldText));
}

std::optional<int> TemplateList::Add(const std::string& name)
{
    m_current = -1;
    if (!m_store.SaveTemplate(name, "")) {
        return std::nullopt;
    }
    const auto at =
        std::lower_bound(m_names.begin(), m_names.end(), name,
                         [this](const std::string& a, const std::string& b) { return m_order.Before(a, b); });
    const int row = static_cast<int>(at - m_names.begin());
    m_names.insert(at, name);
    m_current = row;
    m_crLf = false;
    return row;
}

std::optional<int> TemplateList::Delete(int row)
{
    if (!Holds(row) || !m_store.DeleteTemplate(NameAt(row))) {
        return std::nullopt;
    }
    m_names.erase(m_names.begin() + row);
    m_current = -1;
    return m_names.empty() ? -1 : std::min(row, Count() - 1);
}
