#include "pages/templates/template_editor.h"

#include "ui_template_editor.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QShortcut>
#include <QToolButton>
#include <QUrl>

#include <algorithm>

#include "core/file_access.h"
#include "core/folder_path.h"
#include "pages/help_request.h"
#include "pages/templates/editor_tool_bar.h"
#include "pages/templates/file_choosers.h"
#include "pages/templates/output_actions.h"
#include "pages/templates/template_name_dialog.h"
#include "pages/translation.h"
#include "templates/text_file.h"
#include "widgets/control_id.h"
#include "widgets/drawn_palette.h"
#include "widgets/editor_icons.h"

namespace {

constexpr int kEditorDialogId = 131;
constexpr int kToolBarId = 146;

constexpr int kFolderMissingMessage = 40;
constexpr int kFileFilterMessage = 41;
constexpr int kOpenFileErrorMessage = 42;
constexpr int kSaveFileErrorMessage = 43;
constexpr int kDeleteQuestion = 44;
constexpr int kDeleteErrorMessage = 45;
constexpr int kReplaceQuestion = 46;
constexpr int kHintMessage = 49;
constexpr int kCannotShowExactlyMessage = 54;
constexpr int kLinkOutsideMessage = 55;
constexpr int kPreviewWriteMessage = 56;
constexpr int kPreviewOpenMessage = 57;

// The preview's fixed name, in a folder only the user can enter.
constexpr std::string_view kPreviewFileName = "$$qv$$.txt";

bool ClipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

// The label of an item text: what stands before its tab.
QString LabelOf(const QString& text)
{
    const qsizetype tab = text.indexOf(u'\t');
    return tab < 0 ? text : text.left(tab);
}

// Gives every Value item the Substitution item's label at the same place, keeping its value.
void RelabelValues(const QMenu& substitution, QMenu& value)
{
    const QList<QAction*> from = substitution.actions();
    const QList<QAction*> to = value.actions();
    for (qsizetype i = 0; i < std::min(from.size(), to.size()); ++i) {
        if (from[i]->menu() != nullptr && to[i]->menu() != nullptr) {
            RelabelValues(*from[i]->menu(), *to[i]->menu());
        } else if (!from[i]->isSeparator() && !to[i]->isSeparator() && from[i]->menu() == nullptr) {
            const QString own = to[i]->text();
            const qsizetype tab = own.indexOf(u'\t');
            to[i]->setText(LabelOf(from[i]->text()) + (tab < 0 ? QString() : own.mid(tab)));
        }
    }
}

void ExcludeItemsFromTranslation(const QMenu& menu)
{
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr) {
            ExcludeItemsFromTranslation(*action->menu());
        } else {
            ExcludeFromTranslation(*action);
        }
    }
}

// A message box wraps only at blanks: a long path would make it wider than the screen. Zero-width spaces
// after each '/' and within long runs give it places to wrap.
QString BreakableText(const QString& text)
{
    constexpr int kLongestRun = 40;
    QString out;
    int run = 0;
    for (const QChar c : text) {
        out += c;
        run = c.isSpace() ? 0 : run + 1;
        if (c == u'/' || run >= kLongestRun) {
            out += QChar(0x200B);
            run = 0;
        }
    }
    return out;
}

}   // namespace

TemplateEditor::TemplateEditor(const Services& services, QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_ui(std::make_unique<Ui::TemplateEditor>()),
      m_store(services.settings, services.location, services.language, [this](const std::string& message) {
          ask(QMessageBox::Critical, QString::fromStdString(message), QMessageBox::Ok);
      })
{
    m_ui->setupUi(this);
    // Blocks only the main window, so the help window opened from here takes input.
    setWindowModality(Qt::WindowModal);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    ask = [this](QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons) {
        // Before the editor is shown (a missing folder) the box belongs over the main window.
        QMessageBox box(icon, windowTitle(), BreakableText(text), buttons, isVisible() ? this : parentWidget());
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };
    chooseFile = [this](bool save, std::string& path) {
        return ChooseFile(save, path, m_services.language.GetString(kFileFilterMessage) + "||", "txt", this);
    };
    askName = [this](std::string& name) {
        TemplateNameDialog dialog(
            m_services.language, [this](const std::string& candidate) { return m_store.TemplatePath(candidate); },
            this);
        if (dialog.exec() != QDialog::Accepted) {
            return false;
        }
        name = dialog.Name();
        return true;
    };
    openFile = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };
    m_readOnlyNote = new QLabel(this);
    m_readOnlyNote->setObjectName(QStringLiteral("readOnlyNote"));
    m_readOnlyNote->setWordWrap(true);
    m_readOnlyNote->hide();
    ExcludeFromTranslation(*m_readOnlyNote);
    m_ui->textColumn->addWidget(m_readOnlyNote);

    connect(m_ui->templateList, &QListWidget::currentRowChanged, this, &TemplateEditor::OnSelectionChanged);
    connect(m_ui->templateList, &QWidget::customContextMenuRequested, this, &TemplateEditor::OnContextMenu);
    connect(m_ui->saveButton, &QPushButton::clicked, this, &TemplateEditor::SaveExpanded);
    connect(m_ui->copyButton, &QPushButton::clicked, this, &TemplateEditor::CopyExpanded);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &TemplateEditor::reject);
    connect(m_ui->helpButton, &QPushButton::clicked, this, [] { ShowHelpTopic(QStringLiteral("tmpl")); });
    m_stateTimer.setInterval(50);
    connect(&m_stateTimer, &QTimer::timeout, this, &TemplateEditor::UpdateCommandStates);
}

TemplateEditor::~TemplateEditor() = default;

bool TemplateEditor::Open()
{
    ExcludeFromTranslation(*m_ui->templateList);
    // First, so that even the missing folder's message box carries the translated title.
    std::string section;
    TranslateWindow(m_services.language, true, true, this, kEditorDialogId, 0, section);
    const std::string folder = m_store.TemplateFolder();
    std::vector<std::string> names;
    if (!FolderExists(folder) || !ListFiles(folder, "*.trt", names, false, true)) {
        ask(QMessageBox::Critical, Message(kFolderMissingMessage), QMessageBox::Ok);
        return false;
    }
    // Sorted by the names as shown; each entry keeps its name's bytes.
    std::vector<std::pair<QString, const std::string*>> sorted;
    for (const std::string& name : names) {
        sorted.emplace_back(QString::fromStdString(name), &name);
    }
    std::sort(sorted.begin(), sorted.end(),
              [this](const auto& a, const auto& b) { return m_collator.compare(a.first, b.first) < 0; });
    {
        const QSignalBlocker blocker(m_ui->templateList);
        for (const auto& entry : sorted) {
            AddEntry(m_ui->templateList->count(), *entry.second);
        }
    }
    BuildToolBar();
    PrepareMenus();
    if (m_ui->templateList->count() > 0) {
        const int stored = m_services.settings.ReadInt(SettingId::ActiveTemplateNo);
        const int index = std::clamp(stored, 0, m_ui->templateList->count() - 1);
        const QSignalBlocker blocker(m_ui->templateList);
        m_ui->templateList->setCurrentRow(index);
        LoadEntry(index);
    }
    m_hint = QStringLiteral("\t\n\t") + Message(kHintMessage);
    UpdateCommandStates();
    m_stateTimer.start();
    return true;
}

void TemplateEditor::BuildToolBar()
{
    m_toolBar = BuildEditorToolBar(*this, [this](int command) { RunCommand(command); });
    m_toolBarLook = std::make_unique<IconToolBar>(*m_toolBar);
    m_toolBarLook->LoadButtonIcons(EditorIconStrip(devicePixelRatioF()), QColor(kStripMask));
    m_ui->dialogLayout->insertWidget(0, m_toolBar);
    TranslateToolBar(m_services.language, true, m_toolBar, kToolBarId);
}

void TemplateEditor::PrepareMenus()
{
    m_menus = BuildTemplateMenus();
    // The output toggles belong to Save >> and Copy >>, not to the editor.
    for (QMenu* page : m_menus.substitutionPages) {
        QList<QAction*> actions = page->actions();
        if (actions.size() > 4) {
            for (qsizetype i = actions.size() - 4; i < actions.size(); ++i) {
                page->removeAction(actions[i]);
            }
        }
    }
    FillMenuValues(*m_menus.value, m_services.pages, m_services.clock, m_services.formatter);
    // The Value menu's items show values, which no translation may touch; its sub-menus' titles are
    // translated.
    ExcludeItemsFromTranslation(*m_menus.value);
    TranslateMenu(m_services.language, true, m_menus.bar.get(), kTemplateMenuId);
    RelabelValues(*m_menus.substitution, *m_menus.value);
    m_menuIcons = std::make_unique<IconMenu>(*m_menus.bar);
    m_menuIcons->LoadIcons(EditorIconStrip(devicePixelRatioF()), QColor(kStripMask));
    m_menuIcons->TakeToolBarIcons(*m_toolBar);

    m_menus.bar->setParent(this);
    m_ui->dialogLayout->setMenuBar(m_menus.bar.get());
    // Each item's own signal: a page menu popped up alone from its toolbar drop-down tells no parent menu.
    for (QMenu* menu : {m_menus.templateMenu, m_menus.editMenu, m_menus.substitution, m_menus.value}) {
        ConnectItems(*menu);
    }
    const std::pair<QKeySequence, EditorCommand> accelerators[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_D), EditorCommand::Delete},
        {QKeySequence(Qt::CTRL | Qt::Key_E), EditorCommand::CurrentDateMacro},
        {QKeySequence(Qt::CTRL | Qt::Key_N), EditorCommand::New},
        {QKeySequence(Qt::CTRL | Qt::Key_O), EditorCommand::InsertFile},
        {QKeySequence(Qt::CTRL | Qt::Key_P), EditorCommand::Preview},
        {QKeySequence(Qt::CTRL | Qt::Key_S), EditorCommand::SaveTextFile},
        {QKeySequence(Qt::CTRL | Qt::Key_T), EditorCommand::CurrentTimeMacro},
    };
    for (const auto& [keys, command] : accelerators) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, command = command] { RunCommand(CommandId(command)); });
    }
}

void TemplateEditor::ConnectItems(const QMenu& menu)
{
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr) {
            ConnectItems(*action->menu());
        } else if (!action->isSeparator()) {
            connect(action, &QAction::triggered, this, [this, action] { RunCommand(ControlId(*action)); });
        }
    }
}

QString TemplateEditor::Message(int id) const
{
    return QString::fromStdString(m_services.language.GetString(id));
}

void TemplateEditor::Fail(int messageId, const std::string& subject)
{
    ask(QMessageBox::Critical, Message(messageId) + QStringLiteral(" \"") + QString::fromStdString(subject) + u'"',
        QMessageBox::Ok);
}

void TemplateEditor::ReportFailedWrite(const WriteResult& result, const std::string& path)
{
    if (!result) {
        ask(QMessageBox::Critical,
            QString::fromStdString(WriteFailureText(result, path, kSaveFileErrorMessage, m_services.language)),
            QMessageBox::Ok);
    }
}

void TemplateEditor::LoadEntry(int index)
{
    QListWidgetItem* item = m_ui->templateList->item(index);
    if (item == nullptr || EntryName(*item).empty()) {
        return;
    }
    QPlainTextEdit& field = *m_ui->templateText;
    std::string whyNot;
    const std::optional<LoadedTemplate> loaded = m_store.LoadTemplate(EntryName(*item), &whyNot);
    if (!loaded) {
        // Nothing of another template may stay in the field, to be typed into under this name.
        m_current = -1;
        field.clear();
        field.document()->setModified(false);
        field.setReadOnly(true);
        m_readOnlyNote->setText(QString::fromStdString(whyNot));
        m_readOnlyNote->show();
        return;
    }
    m_current = index;
    m_crLf = loaded->bytes.find("\r\n") != std::string::npos;
    field.setPlainText(QString::fromUtf8(loaded->bytes.data(), static_cast<qsizetype>(loaded->bytes.size())));
    // What the field would give back must be the file's bytes exactly (no zero byte, valid UTF-8, one
    // kind of line end); otherwise saving would change bytes the user never touched.
    int reason = -1;
    if (loaded->linkLeavesFolder) {
        reason = kLinkOutsideMessage;
    } else if (FieldText() != loaded->bytes) {
        reason = kCannotShowExactlyMessage;
    }
    field.document()->setModified(false);
    field.setReadOnly(reason >= 0);
    m_readOnlyNote->setText(reason >= 0 ? Message(reason) : QString());
    m_readOnlyNote->setVisible(reason >= 0);
}

void TemplateEditor::SaveEntry(int index)
{
    QListWidgetItem* item = m_ui->templateList->item(index);
    QTextDocument& document = *m_ui->templateText->document();
    // Only text edited in this session is written: a template merely looked at keeps its file untouched.
    if (item == nullptr || EntryName(*item).empty() || index != m_current || !document.isModified() ||
        m_ui->templateText->isReadOnly()) {
        return;
    }
    if (m_store.SaveTemplate(EntryName(*item), FieldText())) {
        document.setModified(false);
    }
}

bool TemplateEditor::Editable() const
{
    return m_ui->templateList->currentRow() >= 0 && !m_ui->templateText->isReadOnly();
}

std::string TemplateEditor::FieldText() const
{
    std::string text = m_ui->templateText->toPlainText().toStdString();
    if (!m_crLf) {
        return text;
    }
    std::string withCrLf;
    for (char c : text) {
        if (c == '\n') {
            withCrLf += '\r';
        }
        withCrLf += c;
    }
    return withCrLf;
}

void TemplateEditor::SaveCurrentAndRemember()
{
    const int selected = m_ui->templateList->currentRow();
    if (selected >= 0 && selected == m_current) {
        SaveEntry(m_current);
        m_services.settings.WriteInt(SettingId::ActiveTemplateNo, selected);
    }
}

void TemplateEditor::OnSelectionChanged()
{
    SaveEntry(m_current);
    m_current = -1;
    LoadEntry(m_ui->templateList->currentRow());
}

void TemplateEditor::OnContextMenu(const QPoint& point)
{
    QListWidgetItem* item = m_ui->templateList->itemAt(point);
    if (item == nullptr) {
        return;
    }
    m_ui->templateList->setCurrentItem(item);
    m_menus.templateMenu->popup(m_ui->templateList->viewport()->mapToGlobal(point));
}

void TemplateEditor::UpdateCommandStates()
{
    QPlainTextEdit& field = *m_ui->templateText;
    const bool selected = m_ui->templateList->currentRow() >= 0;
    const bool editable = Editable();
    const bool hasText = !field.document()->isEmpty();
    const bool hasSelection = field.textCursor().hasSelection();
    const std::pair<EditorCommand, bool> states[] = {
        {EditorCommand::New, true},
        {EditorCommand::Delete, selected},
        {EditorCommand::InsertFile, editable},
        {EditorCommand::SaveTextFile, selected},
        {EditorCommand::Preview, selected && hasText},
        {EditorCommand::Undo, editable && field.document()->isUndoAvailable()},
        {EditorCommand::Cut, editable && hasSelection},
        {EditorCommand::Copy, selected && hasSelection},
        {EditorCommand::Clear, editable && hasSelection},
        {EditorCommand::Paste, editable && ClipboardHasText()},
        {EditorCommand::SelectAll, selected && hasText},
    };
    for (const auto& [command, enabled] : states) {
        for (const QWidget* owner :
             {static_cast<const QWidget*>(m_menus.bar.get()), static_cast<const QWidget*>(m_toolBar)}) {
            if (owner == nullptr) {
                continue;
            }
            if (QAction* action = FindCommand(*owner, CommandId(command))) {
                action->setEnabled(enabled);
            }
        }
    }
    if (m_toolBar != nullptr) {
        for (int command = CommandId(EditorCommand::FirstDropDown); command <= CommandId(EditorCommand::LastDropDown);
             ++command) {
            if (QAction* action = FindCommand(*m_toolBar, command)) {
                action->setEnabled(editable);
            }
        }
    }
    if (m_services.pages.PagesExist() && m_menus.substitution != nullptr) {
        m_menus.substitution->menuAction()->setEnabled(editable);
        m_menus.value->menuAction()->setEnabled(editable);
    }
    field.setEnabled(selected);
    // The hint tells how to make a first template; an empty template that is selected needs none.
    field.setPlaceholderText(selected ? QString() : m_hint);
    m_ui->saveButton->setEnabled(hasText);
    m_ui->copyButton->setEnabled(hasText);
}

void TemplateEditor::RunCommand(int commandId)
{
    QPlainTextEdit& field = *m_ui->templateText;
    const bool hasSelection = field.textCursor().hasSelection();
    switch (static_cast<EditorCommand>(commandId)) {
    case EditorCommand::New:
        NewTemplate();
        return;
    case EditorCommand::Delete:
        DeleteTemplate();
        return;
    case EditorCommand::Preview:
        Preview();
        return;
    case EditorCommand::InsertFile:
        InsertTextFromFile();
        return;
    case EditorCommand::SaveTextFile:
        SaveTextToFile();
        return;
    case EditorCommand::Undo:
        if (field.document()->isUndoAvailable()) {
            field.undo();
        }
        return;
    case EditorCommand::Cut:
        if (hasSelection) {
            field.cut();
        }
        return;
    case EditorCommand::Copy:
        if (hasSelection) {
            field.copy();
        }
        return;
    case EditorCommand::Clear:
        if (hasSelection) {
            field.textCursor().removeSelectedText();
        }
        return;
    case EditorCommand::Paste:
        if (ClipboardHasText()) {
            field.paste();
        }
        return;
    case EditorCommand::SelectAll:
        if (!field.document()->isEmpty()) {
            field.setFocus();
            field.selectAll();
            field.ensureCursorVisible();
        }
        return;
    default:
        break;
    }
    if (commandId >= CommandId(EditorCommand::FirstDropDown) && commandId <= CommandId(EditorCommand::LastDropDown)) {
        const int index = commandId - CommandId(EditorCommand::FirstDropDown);
        QMenu* menu = index < 3 ? m_menus.substitutionPages[static_cast<std::size_t>(index)]
                                : m_menus.valuePages[static_cast<std::size_t>(index - 3)];
        QAction* button = m_toolBar != nullptr ? FindCommand(*m_toolBar, commandId) : nullptr;
        QWidget* widget = button != nullptr ? m_toolBar->widgetForAction(button) : nullptr;
        if (widget != nullptr) {
            menu->popup(widget->mapToGlobal(QPoint(6, widget->height() + 2)));
        }
        return;
    }
    InsertFromMenu(commandId);
}

void TemplateEditor::InsertFromMenu(int commandId)
{
    const QAction* item = m_menus.bar ? FindCommand(*m_menus.bar, commandId) : nullptr;
    if (item == nullptr) {
        return;
    }
    const QString text = item->text();
    const qsizetype tab = text.indexOf(u'\t');
    // A cursor inserts even into a read-only field.
    if (tab < 0 || tab + 1 >= text.size() || !Editable()) {
        return;
    }
    m_ui->templateText->setFocus();
    m_ui->templateText->textCursor().insertText(text.mid(tab + 1) + u' ');
}

void TemplateEditor::AddEntry(int row, const std::string& name)
{
    // Shown with a replacement character where the name is not UTF-8; opened by its real bytes.
    auto* item = new QListWidgetItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    item->setData(Qt::UserRole, QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    m_ui->templateList->insertItem(row, item);
}

std::string TemplateEditor::EntryName(const QListWidgetItem& item)
{
    const QByteArray name = item.data(Qt::UserRole).toByteArray();
    return std::string(name.constData(), static_cast<std::size_t>(name.size()));
}

int TemplateEditor::SortedPosition(const QString& name) const
{
    int row = 0;
    while (row < m_ui->templateList->count() && m_collator.compare(m_ui->templateList->item(row)->text(), name) < 0) {
        ++row;
    }
    return row;
}

void TemplateEditor::NewTemplate()
{
    std::string name;
    if (!askName(name)) {
        return;
    }
    SaveEntry(m_current);
    const QString qname = QString::fromStdString(name);
    const int selected = m_ui->templateList->currentRow();
    // In name order, so that the stored number means the same template when the editor opens again.
    const int row = SortedPosition(qname);
    {
        const QSignalBlocker blocker(m_ui->templateList);
        AddEntry(row, name);
        m_ui->templateList->setCurrentRow(row);
    }
    m_ui->templateText->clear();
    m_ui->templateText->setReadOnly(false);
    m_readOnlyNote->hide();
    m_current = row;
    m_crLf = false;
    if (!m_store.SaveTemplate(name, "")) {
        // Back to what was shown before: the template that was selected, with its text.
        {
            const QSignalBlocker blocker(m_ui->templateList);
            delete m_ui->templateList->takeItem(row);
            m_current = -1;
            m_ui->templateList->setCurrentRow(selected);
        }
        LoadEntry(selected);
    }
}

void TemplateEditor::DeleteTemplate()
{
    const int row = m_ui->templateList->currentRow();
    if (row < 0) {
        return;
    }
    const QListWidgetItem& item = *m_ui->templateList->item(row);
    if (ask(QMessageBox::Question, Message(kDeleteQuestion).replace(QStringLiteral("%s"), item.text()),
            QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    if (!m_store.DeleteTemplate(EntryName(item))) {
        Fail(kDeleteErrorMessage, item.text().toStdString());
        return;
    }
    {
        const QSignalBlocker blocker(m_ui->templateList);
        delete m_ui->templateList->takeItem(row);
        m_current = -1;
        m_ui->templateList->setCurrentRow(-1);
    }
    if (m_ui->templateList->count() == 0) {
        m_ui->templateText->clear();
        return;
    }
    const int next = std::min(row, m_ui->templateList->count() - 1);
    const QSignalBlocker blocker(m_ui->templateList);
    m_ui->templateList->setCurrentRow(next);
    LoadEntry(next);
}

std::string TemplateEditor::Expanded() const
{
    std::string text = FieldText();
    if (Expand(text, m_services.pages, m_services.clock, m_services.formatter, m_services.language).capped) {
        ask(QMessageBox::Warning, Message(kExpansionCutMessage), QMessageBox::Ok);
    }
    return text;
}

void TemplateEditor::Preview()
{
    const PrivateFolder folder = PrivateTempFolder();
    // The path only names the finished file to the desktop's opener; the write goes through the folder's
    // descriptor. The name is replaced, never followed, and the file is private whatever sat there.
    const std::string path = folder.path + "/" + std::string(kPreviewFileName);
    if (folder.fd < 0 ||
        !ReplaceFileInFolder(folder.fd, kPreviewFileName, Expanded(), {LinkHandling::ReplaceLink, 0600, false})) {
        Fail(kPreviewWriteMessage, path);
        return;
    }
    if (!openFile(path)) {
        Fail(kPreviewOpenMessage, path);
    }
}

void TemplateEditor::InsertTextFromFile()
{
    std::string path;
    if (!Editable() || !chooseFile(false, path)) {
        return;
    }
    bool replace = true;
    if (!m_ui->templateText->document()->isEmpty()) {
        const QMessageBox::StandardButton answer = ask(QMessageBox::Question, Message(kReplaceQuestion),
                                                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) {
            return;
        }
        replace = answer == QMessageBox::Yes;
    }
    std::string text;
    if (!ReadTextFile(path, text)) {
        Fail(kOpenFileErrorMessage, path);
        return;
    }
    const QString read = QString::fromStdString(text);
    m_ui->templateText->setPlainText(replace ? read : m_ui->templateText->toPlainText() + read);
    m_ui->templateText->document()->setModified(true);
    m_ui->templateText->setFocus();
}

void TemplateEditor::SaveTextToFile()
{
    std::string path;
    if (chooseFile(true, path)) {
        ReportFailedWrite(WriteTextFile(path, FieldText(), true), path);
    }
}

void TemplateEditor::SaveExpanded()
{
    SaveCurrentAndRemember();
    const std::string text = Expanded();
    std::string path;
    if (chooseFile(true, path)) {
        ReportFailedWrite(WriteTextFile(path, text, true), path);
    }
    m_stateTimer.stop();
    QDialog::accept();
}

void TemplateEditor::CopyExpanded()
{
    SaveCurrentAndRemember();
    SetClipboardText(Expanded());
    m_stateTimer.stop();
    QDialog::accept();
}

void TemplateEditor::reject()
{
    SaveCurrentAndRemember();
    m_stateTimer.stop();
    QDialog::reject();
}

void TemplateEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        ShowHelpTopic(QStringLiteral("tmpl"));
        return;
    }
    QDialog::keyPressEvent(event);
}
