#pragma once

#include <memory>

#include "pages/page_widget.h"
namespace Ui {
class AboutPage;
}

// The About page: the product picture and line, acknowledgments and the system's facts.
class AboutPage final : public PageWidget {
    Q_OBJECT
public:
    explicit AboutPage(QWidget* parent = nullptr);
    ~AboutPage() override;

private:
    std::unique_ptr<Ui::AboutPage> m_ui;
};
