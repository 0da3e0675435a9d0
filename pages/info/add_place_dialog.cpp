#include "pages/info/add_place_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "pages/zone_chooser.h"

AddPlaceDialog::AddPlaceDialog(const PageServices& services, QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_name(new QLineEdit(this)),
      m_point(new QLineEdit(this)),
      m_zone(new ZoneChooser(this)),
      m_problem(new QLabel(this))
{
    const auto text = [&](int id) { return QString::fromStdString(services.messages.GetString(id)); };
    setWindowTitle(text(kAddPlaceTitleMessage).remove(u'&'));
    FillZoneChooser(*m_zone, services);
    m_point->setPlaceholderText(QStringLiteral("59.91, 10.75"));
    m_problem->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &AddPlaceDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AddPlaceDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(text(kPlaceNameLabelMessage), m_name);
    form->addRow(text(kPlacePointLabelMessage), m_point);
    form->addRow(text(kPlaceZoneLabelMessage), m_zone);
    form->addRow(m_problem);
    form->addRow(buttons);
}

QString AddPlaceDialog::Problem() const
{
    return m_problem->text();
}

void AddPlaceDialog::accept()
{
    // This computer's entry stands for its zone by name; one known only by its offset names no zone.
    const std::string chosen = m_zone->Zone();
    const std::string zone =
        !chosen.empty() || m_services.computerZone.starts_with("UTC+") || m_services.computerZone.starts_with("UTC-")
            ? chosen
            : m_services.computerZone;
    std::string problem;
    m_place =
        ReadSunPlace(m_name->text().toStdString(), m_point->text().toStdString(), zone, m_services.messages, problem);
    m_problem->setText(QString::fromStdString(problem));
    if (m_place) {
        QDialog::accept();
    }
}
