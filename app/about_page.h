#pragma once

#include "pages/page_widget.h"
#include "ui_about_page.h"

// The About page: the product picture and line, acknowledgments and the system's facts.
class AboutPage final : public PageWidget {
    Q_OBJECT
public:
    explicit AboutPage(QWidget* parent = nullptr);

private:
    Ui::AboutPage m_ui;
};
