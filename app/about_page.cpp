#include "app/about_page.h"

#include "ui_about_page.h"

#include "app/system_info_dialog.h"
#include "pages/help_request.h"
#include "pages/translation.h"
#include "widgets/page_icons.h"

AboutPage::AboutPage(QWidget* parent)
    : PageWidget(QStringLiteral("about"), parent),
      m_ui(std::make_unique<Ui::AboutPage>())
{
    m_ui->setupUi(this);
    m_ui->productLine->setText(QStringLiteral("Chronel " CHRONEL_VERSION));
    ExcludeFromTranslation(*m_ui->productLine);
    m_ui->picture->setPixmap(ProductPicture(96, devicePixelRatioF()));
    connect(m_ui->acknowledgments, &QPushButton::clicked, this, [] { ShowHelpTopic(QStringLiteral("achn")); });
    connect(m_ui->systemInfo, &QPushButton::clicked, this, [this] {
        SystemInfoDialog dialog(this);
        dialog.exec();
    });
}

AboutPage::~AboutPage() = default;
