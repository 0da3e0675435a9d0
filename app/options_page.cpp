#include "app/options_page.h"

#include "ui_options_page.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QSignalBlocker>

#include <unistd.h>

#include "platform/xdg_autostart_list.h"

#include "core/folder_path.h"
#include "core/locale_format.h"
#include "core/messages.h"
#include "pages/templates/file_choosers.h"
#include "pages/translation.h"
#include "pages/working_days_source.h"
#include "settings/options_model.h"
#include "settings/settings_store.h"

namespace {

bool BrowseWithFolderDialog(QWidget* parent, std::string& folder)
{
    return BrowseForFolder("", folder, parent);
}

std::vector<std::string> ChooseWithFileDialog(QWidget* parent)
{
    std::vector<std::string> paths;
    const QStringList names =
        QFileDialog::getOpenFileNames(parent, QString(), QString(), QStringLiteral("iCalendar (*.ics)"));
    for (const QString& name : names) {
        paths.push_back(QFile::encodeName(name).toStdString());
    }
    return paths;
}

// A path's bytes, kept with its row: the shown text may not give them back.
constexpr int kPathRole = Qt::UserRole;

}   // namespace

OptionsPage::OptionsPage(const PageServices& services, OptionsServices options, QWidget* parent)
    : PageWidget(QStringLiteral("options"), parent),
      m_services(services),
      m_options(std::move(options)),
      m_ui(std::make_unique<Ui::OptionsPage>()),
      m_browser(BrowseWithFolderDialog),
      m_chooser(ChooseWithFileDialog)
{
    m_ui->setupUi(this);
    // File names and a message, never control texts.
    ExcludeFromTranslation(*m_ui->language);
    ExcludeFromTranslation(*m_ui->folderStatus);
    ExcludeFromTranslation(*m_ui->holidayFiles);
    BuildWeekdayBoxes();
    for (const std::string& name : ListLanguages(m_options.location)) {
        m_ui->language->addItem(QString::fromStdString(name));
    }
    m_ui->language->setCurrentIndex(-1);

    connect(m_ui->autoload, &QCheckBox::clicked, this, &OptionsPage::OnAutoloadClicked);
    connect(m_ui->hideToTray, &QCheckBox::clicked, this, &OptionsPage::OnHideToTrayClicked);
    connect(m_ui->templateFolder, &QLineEdit::textChanged, this, &OptionsPage::CheckFolder);
    connect(m_ui->browse, &QPushButton::clicked, this, &OptionsPage::ChooseFolder);
    connect(m_ui->language, &QComboBox::currentIndexChanged, this, &OptionsPage::OnLanguageChosen);
    connect(m_ui->addHolidays, &QPushButton::clicked, this, &OptionsPage::AddHolidayFiles);
    connect(m_ui->removeHolidays, &QPushButton::clicked, this, &OptionsPage::RemoveHolidayFile);
    if (m_services.workingDays != nullptr) {
        connect(m_services.workingDays, &WorkingDaysSource::changed, this, &OptionsPage::ShowHolidayFiles);
    }
}

OptionsPage::~OptionsPage() = default;

void OptionsPage::LoadSettings()
{
    const SettingsStore& settings = m_services.settings;
    m_ui->autoload->setChecked(settings.ReadInt(SettingId::Autoload) != 0);
    m_ui->hideToTray->setChecked(settings.ReadInt(SettingId::HideToTray) != 0);
    std::string folder;
    settings.ReadString(SettingId::TemplateFolder, folder);
    const QString text = QString::fromStdString(folder);
    // setText does not signal an unchanged text, but the folder may have appeared or vanished since.
    if (m_ui->templateFolder->text() == text) {
        CheckFolder(text);
    } else {
        m_ui->templateFolder->setText(text);
    }
    SelectStoredLanguage();
    m_ui->translator->setText(QString::fromStdString(m_options.language.GetTranslatorInfo(0)));
    m_ui->contact->setText(QString::fromStdString(m_options.language.GetTranslatorInfo(1)));
    m_ui->translationDate->setText(QString::fromStdString(m_options.language.GetTranslatorInfo(2)));
    // A list takes no name from its label: it gets the label's text, in the language just applied.
    m_ui->holidayFiles->setAccessibleName(m_ui->holidaysLabel->text().remove(u'&'));
    ShowWorkingDays();
    ShowHolidayFiles();
}

void OptionsPage::SaveSettings()
{
    const SettingsStore& settings = m_services.settings;
    settings.WriteInt(SettingId::Autoload, m_ui->autoload->isChecked() ? 1 : 0);
    // Another copy may have changed it meanwhile (this copy writes only what it changed): the box follows
    // the stored setting, and the entry is renewed, so it follows the program file if it moved, only
    // while that setting asks for it.
    const bool autoload = settings.ReadInt(SettingId::Autoload) != 0;
    m_ui->autoload->setChecked(autoload);
    if (autoload) {
        settings.SetAutoload(true);
    }
    settings.WriteInt(SettingId::HideToTray, m_ui->hideToTray->isChecked() ? 1 : 0);
    settings.WriteString(SettingId::TemplateFolder, m_ui->templateFolder->text().toStdString());
    if (m_ui->language->currentIndex() >= 0) {
        settings.WriteString(SettingId::Lang, m_ui->language->currentText().toStdString());
    }
}

void OptionsPage::OnAutoloadClicked(bool checked)
{
    if (m_services.settings.SetAutoload(checked) == AutostartChange::Busy) {
        // Another running copy holds the settings lock: nothing changed, and the box says so again.
        m_ui->autoload->setChecked(!checked);
        ShowNotice(QMessageBox::Warning, kSettingsBusyMessage);
        return;
    }
    m_services.settings.WriteInt(SettingId::Autoload, checked ? 1 : 0);
    if (checked && geteuid() == 0) {
        // Root's entry may start Chronel for every user: say which way it went.
        ShowNotice(QMessageBox::Information, OnlyRootCanReplace(m_options.location.ExecutablePath()) ? 59 : 60);
    }
}

void OptionsPage::ShowNotice(QMessageBox::Icon icon, int message)
{
    // Not modal, so nothing waits.
    auto* box = new QMessageBox(icon, window()->windowTitle(),
                                QString::fromStdString(m_services.messages.GetString(message)), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void OptionsPage::OnHideToTrayClicked(bool checked)
{
    m_services.settings.WriteInt(SettingId::HideToTray, checked ? 1 : 0);
    if (m_options.updateTrayIcon) {
        m_options.updateTrayIcon();
    }
}

void OptionsPage::CheckFolder(const QString& text)
{
    m_services.settings.WriteString(SettingId::TemplateFolder, text.toStdString());
    ShowFolderStatus();
}

void OptionsPage::ShowFolderStatus()
{
    m_ui->folderStatus->setText(QString::fromStdString(
        TemplateFolderStatus(m_ui->templateFolder->text().toStdString(), m_options.location, m_services.messages)));
}

void OptionsPage::showEvent(QShowEvent* event)
{
    // The folder may have been made or removed while the page was hidden.
    ShowFolderStatus();
    PageWidget::showEvent(event);
}

bool OptionsPage::event(QEvent* event)
{
    // ...or in a file manager while the window was in the background (a visible page gets this).
    if (event->type() == QEvent::WindowActivate) {
        ShowFolderStatus();
    }
    return PageWidget::event(event);
}

void OptionsPage::ChooseFolder()
{
    std::string folder = m_ui->templateFolder->text().toStdString();
    NormalizeFolderPath(folder, m_options.location);
    if (m_browser && m_browser(this, folder)) {
        m_ui->templateFolder->setText(QString::fromStdString(folder));
    }
}

void OptionsPage::OnLanguageChosen(int index)
{
    if (index < 0) {
        return;
    }
    m_services.settings.WriteString(SettingId::Lang, m_ui->language->itemText(index).toStdString());
    if (m_options.applyLanguage) {
        m_options.applyLanguage();
    }
    m_ui->language->setFocus();
}

void OptionsPage::SelectStoredLanguage()
{
    std::vector<std::string> names;
    for (int i = 0; i < m_ui->language->count(); ++i) {
        names.push_back(m_ui->language->itemText(i).toStdString());
    }
    std::string stored;
    m_services.settings.ReadString(SettingId::Lang, stored);
    const LanguageChoice choice = ChooseLanguage(names, stored);
    const QSignalBlocker blocker(m_ui->language);
    if (choice.names != names) {
        m_ui->language->clear();
        for (const std::string& name : choice.names) {
            m_ui->language->addItem(QString::fromStdString(name));
        }
    }
    m_ui->language->setCurrentIndex(static_cast<int>(choice.selected));
}

void OptionsPage::BuildWeekdayBoxes()
{
    // Monday is day 0, as WorkingWeekdays numbers them; the row starts where the locale's week does.
    const int first = static_cast<int>(QLocale().firstDayOfWeek()) - 1;
    for (int i = 0; i < 7; ++i) {
        const int day = (first + i) % 7;
        const DateTime date = DateTime::FromParts(2001, 1, 1 + day, 0, 0, 0);   // a Monday, then on
        auto* box = new QCheckBox(
            QString::fromStdString(FormatDateNameOf(m_services.formatter, date, false, false).value_or("?")), this);
        ExcludeFromTranslation(*box);
        box->setProperty("controlId", kFirstWeekdayBoxId + day);
        connect(box, &QCheckBox::clicked, this, [this, day](bool checked) { OnWeekdayClicked(day, checked); });
        m_ui->weekdayRow->addWidget(box);
        m_weekdays[static_cast<std::size_t>(day)] = box;
    }
    m_ui->weekdayRow->addStretch();
    QWidget* previous = m_ui->translationDate;
    for (int i = 0; i < m_ui->weekdayRow->count() - 1; ++i) {
        QWidget* box = m_ui->weekdayRow->itemAt(i)->widget();
        QWidget::setTabOrder(previous, box);
        previous = box;
    }
    QWidget::setTabOrder(previous, m_ui->holidayFiles);
}

void OptionsPage::ShowWorkingDays()
{
    const std::uint32_t weekdays =
        m_services.workingDays != nullptr ? m_services.workingDays->Calendar().WorkingWeekdays() : kMondayToFriday;
    for (std::size_t day = 0; day < m_weekdays.size(); ++day) {
        m_weekdays[day]->setChecked((weekdays & (1u << day)) != 0);
    }
}

void OptionsPage::OnWeekdayClicked(int day, bool checked)
{
    std::uint32_t weekdays = 0;
    for (std::size_t i = 0; i < m_weekdays.size(); ++i) {
        weekdays |= m_weekdays[i]->isChecked() ? 1u << i : 0;
    }
    if (weekdays == 0) {
        m_weekdays[static_cast<std::size_t>(day)]->setChecked(!checked);
        ShowNotice(QMessageBox::Warning, kNoWorkingDayMessage);
        return;
    }
    m_services.settings.WriteInt(SettingId::WorkingWeekdays, static_cast<int>(weekdays));
    if (m_services.workingDays != nullptr) {
        m_services.workingDays->Reload();
    }
}

void OptionsPage::ShowHolidayFiles()
{
    const std::vector<HolidayCalendarFile> none;
    const std::vector<HolidayCalendarFile>& read =
        m_services.workingDays != nullptr ? m_services.workingDays->Files() : none;
    const int selected = m_ui->holidayFiles->currentRow();
    m_ui->holidayFiles->clear();
    for (const std::string& path : m_services.settings.ReadList(SettingId::HolidayCalendars)) {
        QString text = QString::fromStdString(path);
        for (const HolidayCalendarFile& file : read) {
            if (file.path == path && file.reasonMessage >= 0) {
                text += QStringLiteral(" \u2014 ") +
                        QString::fromStdString(m_services.messages.GetString(file.reasonMessage));
            }
        }
        auto* row = new QListWidgetItem(text, m_ui->holidayFiles);
        row->setData(kPathRole, QByteArray::fromStdString(path));
        row->setToolTip(text);
    }
    m_ui->holidayFiles->setCurrentRow(std::min(selected, m_ui->holidayFiles->count() - 1));
    m_ui->removeHolidays->setEnabled(m_ui->holidayFiles->count() > 0);
}

void OptionsPage::AddHolidayFiles()
{
    std::vector<std::string> paths = m_services.settings.ReadList(SettingId::HolidayCalendars);
    for (std::string& chosen : m_chooser ? m_chooser(this) : std::vector<std::string>()) {
        if (std::find(paths.begin(), paths.end(), chosen) == paths.end()) {
            paths.push_back(std::move(chosen));
        }
    }
    StoreHolidayFiles(paths);
}

void OptionsPage::RemoveHolidayFile()
{
    const QListWidgetItem* row = m_ui->holidayFiles->currentItem();
    if (row == nullptr) {
        return;
    }
    std::vector<std::string> paths = m_services.settings.ReadList(SettingId::HolidayCalendars);
    std::erase(paths, row->data(kPathRole).toByteArray().toStdString());
    StoreHolidayFiles(paths);
}

void OptionsPage::StoreHolidayFiles(const std::vector<std::string>& paths)
{
    m_services.settings.WriteList(SettingId::HolidayCalendars, paths);
    if (m_services.workingDays != nullptr) {
        m_services.workingDays->Reload();
    }
    ShowHolidayFiles();
}
