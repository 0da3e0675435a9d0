#pragma once

#include "shell/page_frame_widget.h"
#include "ui_about_page.h"

// The About page: the product picture and line, acknowledgments and the system's facts.
class CDialogEvalAbout final : public PageWidget {
    Q_OBJECT
public:
    explicit CDialogEvalAbout(QWidget* parent = nullptr);

private:
    Ui::CDialogEvalAbout m_ui;
};
