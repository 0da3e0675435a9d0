#pragma once

#include <QCollator>

#include "templates/template_list.h"

// Template names in the user's locale order, without regard to letter case, compared as shown (UTF-8,
// with replacement characters where a name is not).
class CollatedNameOrder final : public NameOrder {
public:
    CollatedNameOrder();
    void Sort(std::vector<std::string>& names) const override;
    bool Before(const std::string& a, const std::string& b) const override;

private:
    QCollator m_collator;
};
