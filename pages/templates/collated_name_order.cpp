#include "pages/templates/collated_name_order.h"

#include <algorithm>
#include <utility>

CollatedNameOrder::CollatedNameOrder()
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

void CollatedNameOrder::Sort(std::vector<std::string>& names) const
{
    // Each name is converted once, not at every comparison.
    std::vector<std::pair<QString, std::string>> shown;
    shown.reserve(names.size());
    for (std::string& name : names) {
        shown.emplace_back(QString::fromStdString(name), std::move(name));
    }
    std::sort(shown.begin(), shown.end(),
              [this](const auto& a, const auto& b) { return m_collator.compare(a.first, b.first) < 0; });
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = std::move(shown[i].second);
    }
}

bool CollatedNameOrder::Before(const std::string& a, const std::string& b) const
{
    return m_collator.compare(QString::fromStdString(a), QString::fromStdString(b)) < 0;
}
