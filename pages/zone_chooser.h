#pragma once

#include <QComboBox>

#include <string>
#include <string_view>
#include <vector>

#include "info/zone_directory.h"

struct PageServices;

class QCompleter;
class QStringListModel;

// A zone to choose: this computer's first, then every place of the tz database ("Sydney — Australia
// (Australia/Sydney)", zone.tab's comment as its tooltip). Typing part of a city, country or zone name
// ("syd", "new y", "Japan") lists the matches; arrows and Enter choose among them. Leaving it with a
// half-typed text shows the chosen entry again.
class ZoneChooser final : public QComboBox {
    Q_OBJECT
public:
    explicit ZoneChooser(QWidget* parent = nullptr);

    // The entries afresh: `computerLabel` ("This computer (Europe/Berlin)") standing for this computer, whose
    // zone `computerZone` names ("Europe/Berlin" or "UTC+01:00"), then `places`, which must outlive the
    // chooser. The chosen zone stays chosen where it is listed.
    void SetPlaces(const std::vector<ZonePlace>& places, const QString& computerLabel, const QString& computerZone);
    // The chosen zone's name; empty for this computer.
    std::string Zone() const;
    // Chooses the listed zone named `zone`, this computer for an empty name; false, choosing this computer,
    // for a name not listed. Emits nothing.
    bool SetZone(std::string_view zone);
    // The chosen zone as output gives it: its name, or this computer's zone as `computerZone` names it.
    QString ZoneText() const;
    // The entries the typed `text` matches, in the order of the list of matches: this computer's while its
    // label holds the text (or the text is blank), then the places FindZonePlaces finds.
    QStringList Matches(const QString& text) const;

signals:
    // The user chose another entry.
    void zoneChosen();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ShowMatches(const QString& text);
    void ChooseLabel(const QString& label);
    void ChooseFirstMatch();

    const std::vector<ZonePlace>* m_places = nullptr;
    QString m_computerZone;
    QCompleter* m_completer;
    QStringListModel* m_matches;
};

// Fills the chooser with the services' places and this computer's entry in the current language
// (message kComputerZoneMessage); only this computer's entry without places.
void FillZoneChooser(ZoneChooser& chooser, const PageServices& services);
