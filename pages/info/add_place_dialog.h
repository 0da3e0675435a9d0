#pragma once

#include <QDialog>

#include <optional>

#include "info/sun_places.h"
#include "pages/page_services.h"

class QLabel;
class QLineEdit;
class ZoneChooser;

// Asks for a place of the user's own: its name, latitude and longitude in one field, and its zone. OK
// with anything ReadSunPlace refuses shows its one line in the dialog and keeps it open.
class AddPlaceDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AddPlaceDialog(const PageServices& services, QWidget* parent = nullptr);

    void accept() override;
    // The place read when OK was accepted; empty before.
    const std::optional<SunPlace>& Place() const { return m_place; }

    QLineEdit& NameEdit() const { return *m_name; }
    QLineEdit& PointEdit() const { return *m_point; }
    ZoneChooser& Zones() const { return *m_zone; }
    QString Problem() const;

private:
    const PageServices& m_services;
    QLineEdit* m_name;
    QLineEdit* m_point;
    ZoneChooser* m_zone;
    QLabel* m_problem;
    std::optional<SunPlace> m_place;
};
