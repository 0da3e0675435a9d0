#include "pages/templates/output_actions.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QWidget>

#include "pages/templates/file_choosers.h"
#include "pages/translation.h"
#include "templates/text_file.h"
#include "widgets/control_id.h"
#include "widgets/drawn_palette.h"
#include "widgets/editor_icons.h"

namespace {

constexpr int kFileFilterMessage = 41;
constexpr int kSaveErrorMessage = 43;

bool IsOn(const SettingsStore& settings, SettingId id)
{
    return settings.ReadInt(id) != 0;
}

void ConnectCommands(QMenu& menu, const std::function<void(QAction*)>& onTriggered)
{
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr) {
            ConnectCommands(*action->menu(), onTriggered);
        } else if (!action->isSeparator()) {
            QObject::connect(action, &QAction::triggered, action, [onTriggered, action] { onTriggered(action); });
        }
    }
}

}   // namespace

bool GetClipboardText(std::string& text)
{
    text.clear();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        return false;
    }
    text = data->text().toStdString();
    return !text.empty();
}

bool SetClipboardText(std::string_view text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    clipboard->setText(value);
    return clipboard->text() == value;
}

OutputActions::OutputActions(const Services& services, QWidget* owner)
    : QObject(owner),
      m_services(services),
      m_owner(owner)
{
    chooseSaveFile = [this](std::string& path) {
        const std::string filter = m_services.language.GetString(kFileFilterMessage) + "||";
        return ChooseFile(true, path, filter, "txt", m_owner);
    };
    showError = [this](const QString& text) {
        QMessageBox::critical(m_owner, QCoreApplication::applicationName(), text);
    };
}

void OutputActions::ShowOutputMenu(OutputMode mode, int activePage, QWidget* button)
{
    m_mode = mode;
    m_menus = BuildTemplateMenus();
    TranslateMenu(m_services.language, true, m_menus.bar.get(), kTemplateMenuId);
    const SettingsStore& settings = m_services.settings;
    SetChecked(*m_menus.substitution, kDataOnlyCommand, IsOn(settings, SettingId::DataOnly));
    SetChecked(*m_menus.substitution, kAddToTargetCommand, IsOn(settings, SettingId::AddToTarget));
    SetChecked(*m_menus.substitution, kAddCrCommand, IsOn(settings, SettingId::AddCr));
    FillMenuValues(*m_menus.substitution, m_services.pages, m_services.clock, m_services.formatter);
    m_icons = std::make_unique<IconMenu>(*m_menus.bar);
    m_icons->LoadIcons(EditorIconStrip(m_owner != nullptr ? m_owner->devicePixelRatioF() : 1.0), QColor(kStripMask));

    const std::size_t page = activePage == 1 || activePage == 2 ? static_cast<std::size_t>(activePage) : 0;
    m_popup = m_menus.substitutionPages[page];
    ConnectCommands(*m_popup, [this](QAction* action) { OnTriggered(action); });
    if (button != nullptr) {
        button->window()->activateWindow();
        m_popup->popup(button->mapToGlobal(QPoint(0, 0)));
    }
}

void OutputActions::OnTriggered(QAction* action)
{
    switch (const int id = ControlId(*action)) {
    case kDataOnlyCommand:
        ToggleOutputOption(SettingId::DataOnly);
        break;
    case kAddToTargetCommand:
        ToggleOutputOption(SettingId::AddToTarget);
        break;
    case kAddCrCommand:
        ToggleOutputOption(SettingId::AddCr);
        break;
    default:
        RunOutputCommand(id);
    }
}

void OutputActions::RunOutputCommand(int commandId)
{
    if (!m_menus.bar) {
        return;
    }
    const QAction* item = FindCommand(*m_menus.substitution, commandId);
    if (item == nullptr) {
        return;
    }
    const SettingsStore& settings = m_services.settings;
    std::string line = BuildOutputLine(item->text().toStdString(), IsOn(settings, SettingId::DataOnly),
                                       IsOn(settings, SettingId::AddCr));
    if (line.empty()) {
        return;
    }
    const bool addToTarget = IsOn(settings, SettingId::AddToTarget);
    if (m_mode == OutputMode::Copy) {
        std::string before;
        if (addToTarget) {
            GetClipboardText(before);
        }
        SetClipboardText(before + line);
        return;
    }
    std::string path;
    if (!chooseSaveFile(path)) {
        return;
    }
    const WriteResult written = WriteTextFile(path, line, !addToTarget);
    if (!written) {
        showError(QString::fromStdString(WriteFailureText(written, path, kSaveErrorMessage, m_services.language)));
    }
}

void OutputActions::ToggleOutputOption(SettingId option)
{
    if (!m_menus.bar) {
        return;
    }
    m_services.settings.WriteInt(option, m_services.settings.ReadInt(option) <= 0 ? 1 : 0);
}
