#include "pages/zone_chooser.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringListModel>

#include "core/messages.h"
#include "pages/page_services.h"
#include "pages/translation.h"

namespace {

QString PlaceLabel(const ZonePlace& place)
{
    const QString zone = QString::fromStdString(place.zone);
    if (place.country.empty()) {
        return zone;
    }
    return QString::fromStdString(place.city) + QStringLiteral(" \u2014 ") + QString::fromStdString(place.country) +
           QStringLiteral(" (") + zone + u')';
}

}   // namespace

ZoneChooser::ZoneChooser(QWidget* parent)
    : QComboBox(parent),
      m_completer(new QCompleter(this)),
      m_matches(new QStringListModel(this))
{
    // Four hundred place names are no texts of a language file.
    ExcludeFromTranslation(*this);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(24);
    m_completer->setModel(m_matches);
    // The matches are found here, by words anywhere in a place's names, not by the completer's prefixes.
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(12);
    lineEdit()->setCompleter(m_completer);
    connect(lineEdit(), &QLineEdit::textEdited, this, &ZoneChooser::ShowMatches);
    connect(lineEdit(), &QLineEdit::returnPressed, this, &ZoneChooser::ChooseFirstMatch);
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this, &ZoneChooser::ChooseLabel);
    connect(this, &QComboBox::activated, this, &ZoneChooser::zoneChosen);
}

void ZoneChooser::SetPlaces(const std::vector<ZonePlace>& places, const QString& computerLabel,
                            const QString& computerZone)
{
    const std::string chosen = Zone();
    const QSignalBlocker quiet(this);
    m_places = &places;
    m_computerZone = computerZone;
    clear();
    addItem(computerLabel, QString());
    for (const ZonePlace& place : places) {
        addItem(PlaceLabel(place), QString::fromStdString(place.zone));
        if (!place.comment.empty()) {
            setItemData(count() - 1, QString::fromStdString(place.comment), Qt::ToolTipRole);
        }
    }
    SetZone(chosen);
}

std::string ZoneChooser::Zone() const
{
    return currentData().toString().toStdString();
}

bool ZoneChooser::SetZone(std::string_view zone)
{
    const QSignalBlocker quiet(this);
    const int index = findData(QString::fromUtf8(zone.data(), static_cast<qsizetype>(zone.size())));
    setCurrentIndex(index > 0 ? index : 0);
    return index >= 0;
}

QString ZoneChooser::ZoneText() const
{
    return currentIndex() > 0 ? currentData().toString() : m_computerZone;
}

QStringList ZoneChooser::Matches(const QString& text) const
{
    QStringList labels;
    if (count() > 0 && (text.trimmed().isEmpty() || itemText(0).contains(text.trimmed(), Qt::CaseInsensitive))) {
        labels << itemText(0);
    }
    if (m_places != nullptr) {
        for (const ZonePlace* place : FindZonePlaces(*m_places, text.toStdString())) {
            labels << PlaceLabel(*place);
        }
    }
    return labels;
}

void ZoneChooser::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (!m_completer->popup()->isVisible()) {
        setEditText(itemText(currentIndex()));
    }
}

void ZoneChooser::ShowMatches(const QString& text)
{
    m_matches->setStringList(Matches(text));
    m_completer->complete();
}

void ZoneChooser::ChooseLabel(const QString& label)
{
    // Left open, the list of matches would keep the arrow keys from the chooser.
    m_completer->popup()->hide();
    const int index = findText(label, Qt::MatchExactly);
    if (index < 0) {
        return;
    }
    const bool changed = index != currentIndex();
    {
        const QSignalBlocker quiet(this);
        setCurrentIndex(index);
    }
    setEditText(itemText(index));
    if (changed) {
        emit zoneChosen();
    }
}

void ZoneChooser::ChooseFirstMatch()
{
    if (lineEdit()->text() == itemText(currentIndex())) {
        return;
    }
    const QStringList matches = Matches(lineEdit()->text());
    ChooseLabel(matches.isEmpty() ? itemText(currentIndex()) : matches.front());
}

void FillZoneChooser(ZoneChooser& chooser, const PageServices& services)
{
    static const std::vector<ZonePlace> kNoPlaces;
    const QString zone = QString::fromStdString(services.computerZone);
    const QString label =
        QString::fromStdString(services.messages.GetString(kComputerZoneMessage)).replace(QStringLiteral("%1"), zone);
    chooser.SetPlaces(services.zonePlaces != nullptr ? *services.zonePlaces : kNoPlaces, label, zone);
}
