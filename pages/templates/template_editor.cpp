#include "pages/templates/template_editor.h"

#include "ui_template_editor.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>
#include <QShortcut>
#include <QToolButton>
#include <QUrl>

#include "pages/help_key_filter.h"
#include "pages/help_request.h"
#include "pages/templates/editor_menus.h"
#include "pages/templates/editor_tool_bar.h"
#include "pages/templates/file_choosers.h"
#include "pages/templates/output_actions.h"
#include "pages/templates/template_name_dialog.h"
#include "pages/translation.h"
#include "widgets/control_id.h"
#include "widgets/drawn_palette.h"
#include "widgets/editor_icons.h"

namespace {

constexpr int kEditorDialogId = 131;
constexpr int kToolBarId = 146;

constexpr int kFolderMissingMessage = 40;
constexpr int kFileFilterMessage = 41;
constexpr int kDeleteQuestion = 44;
constexpr int kDeleteErrorMessage = 45;
constexpr int kHintMessage = 49;
constexpr int kCannotShowExactlyMessage = 54;
constexpr int kLinkOutsideMessage = 55;

bool ClipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
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

// A list entry showing `name`'s bytes, with a replacement character where they are not UTF-8.
void InsertEntry(QListWidget& list, int row, const std::string& name)
{
    list.insertItem(row, QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

}   // namespace

TemplateEditor::TemplateEditor(const Services& services, QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_ui(std::make_unique<Ui::TemplateEditor>()),
      m_store(services.settings, services.location, services.language,
              [this](const std::string& message) {
                  ask(QMessageBox::Critical, QString::fromStdString(message), QMessageBox::Ok);
              }),
      m_list(m_store, m_order),
      m_files({services.pages, services.clock, services.formatter, services.language}, {ask, chooseFile, openFile})
{
    m_ui->setupUi(this);
    // Blocks only the main window, so the help window opened from here takes input.
    setWindowModality(Qt::WindowModal);
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
    InstallHelpKey(*this, HelpKeyMoment::Press, [] { return QStringLiteral("tmpl"); });
}

TemplateEditor::~TemplateEditor() = default;

bool TemplateEditor::Open()
{
    ExcludeFromTranslation(*m_ui->templateList);
    // First, so that even the missing folder's message box carries the translated title.
    std::string section;
    TranslateWindow(m_services.language, true, true, this, kEditorDialogId, 0, section);
    if (!m_list.Read()) {
        ask(QMessageBox::Critical, m_files.Message(kFolderMissingMessage), QMessageBox::Ok);
        return false;
    }
    {
        const QSignalBlocker blocker(m_ui->templateList);
        for (const std::string& name : m_list.Names()) {
            InsertEntry(*m_ui->templateList, m_ui->templateList->count(), name);
        }
    }
    BuildToolBar();
    PrepareMenus();
    if (m_list.Count() > 0) {
        const int row = m_list.StartRow(m_services.settings.ReadInt(SettingId::ActiveTemplateNo));
        const QSignalBlocker blocker(m_ui->templateList);
        m_ui->templateList->setCurrentRow(row);
        LoadEntry(row);
    }
    m_hint = QStringLiteral("\t\n\t") + m_files.Message(kHintMessage);
    FollowCommandStates();
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
    m_menus = BuildEditorMenus(m_services.pages, m_services.clock, m_services.formatter, m_services.language);
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

void TemplateEditor::FollowCommandStates()
{
    m_commandStates = std::make_unique<EditorCommandStates>(m_menus, *m_toolBar, m_services.pages.PagesExist());
    const QPlainTextEdit* field = m_ui->templateText;
    connect(field, &QPlainTextEdit::textChanged, this, &TemplateEditor::UpdateCommandStates);
    connect(field, &QPlainTextEdit::selectionChanged, this, &TemplateEditor::UpdateCommandStates);
    connect(field, &QPlainTextEdit::undoAvailable, this, &TemplateEditor::UpdateCommandStates);
    // Asking the clipboard may wait on the application that owns it: ask once per change, not per keystroke.
    const auto readClipboard = [this] {
        m_clipboardHasText = ClipboardHasText();
        UpdateCommandStates();
    };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, readClipboard);
    readClipboard();
}

void TemplateEditor::UpdateCommandStates()
{
    if (m_commandStates == nullptr) {
        return;
    }
    QPlainTextEdit& field = *m_ui->templateText;
    const bool selected = m_ui->templateList->currentRow() >= 0;
    const bool hasText = !field.document()->isEmpty();
    m_commandStates->Apply({selected, Editable(), hasText, field.textCursor().hasSelection(),
                            field.document()->isUndoAvailable(), m_clipboardHasText});
    field.setEnabled(selected);
    // The hint tells how to make a first template; an empty template that is selected needs none.
    field.setPlaceholderText(selected ? QString() : m_hint);
    m_ui->saveButton->setEnabled(hasText);
    m_ui->copyButton->setEnabled(hasText);
}

void TemplateEditor::LoadEntry(int row)
{
    QPlainTextEdit& field = *m_ui->templateText;
    std::string whyNot;
    const std::optional<LoadedTemplate> loaded = m_list.Open(row, &whyNot);
    if (row < 0 || row >= m_list.Count()) {
        return;
    }
    if (!loaded) {
        // Nothing of another template may stay in the field, to be typed into under this name.
        field.clear();
        field.document()->setModified(false);
        field.setReadOnly(true);
        m_readOnlyNote->setText(QString::fromStdString(whyNot));
        m_readOnlyNote->show();
        return;
    }
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
    m_readOnlyNote->setText(reason >= 0 ? m_files.Message(reason) : QString());
    m_readOnlyNote->setVisible(reason >= 0);
}

void TemplateEditor::SaveCurrent()
{
    QTextDocument& document = *m_ui->templateText->document();
    // Only text edited in this session is written: a template merely looked at keeps its file untouched.
    if (document.isModified() && !m_ui->templateText->isReadOnly() &&
        m_list.SaveCurrent(m_ui->templateText->toPlainText().toStdString())) {
        document.setModified(false);
    }
}

bool TemplateEditor::Editable() const
{
    return m_ui->templateList->currentRow() >= 0 && !m_ui->templateText->isReadOnly();
}

std::string TemplateEditor::FieldText() const
{
    return m_list.FileText(m_ui->templateText->toPlainText().toStdString());
}

void TemplateEditor::SaveCurrentAndRemember()
{
    const int selected = m_ui->templateList->currentRow();
    if (selected >= 0 && selected == m_list.Current()) {
        SaveCurrent();
        m_services.settings.WriteInt(SettingId::ActiveTemplateNo, selected);
    }
}

void TemplateEditor::OnSelectionChanged()
{
    SaveCurrent();
    LoadEntry(m_ui->templateList->currentRow());
    UpdateCommandStates();
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

void TemplateEditor::RunCommand(int commandId)
{
    const auto command = static_cast<EditorCommand>(commandId);
    if (RunEditCommand(command)) {
        return;
    }
    switch (command) {
    case EditorCommand::New:
        NewTemplate();
        return;
    case EditorCommand::Delete:
        DeleteTemplate();
        return;
    case EditorCommand::Preview:
        m_files.Preview(FieldText());
        return;
    case EditorCommand::InsertFile:
        if (Editable()) {
            m_files.InsertFile(*m_ui->templateText);
        }
        return;
    case EditorCommand::SaveTextFile:
        m_files.SaveToChosenFile(FieldText());
        return;
    default:
        break;
    }
    if (commandId >= CommandId(EditorCommand::FirstDropDown) && commandId <= CommandId(EditorCommand::LastDropDown)) {
        PopUpDropDown(commandId);
        return;
    }
    InsertFromMenu(commandId);
}

bool TemplateEditor::RunEditCommand(EditorCommand command)
{
    QPlainTextEdit& field = *m_ui->templateText;
    const bool hasSelection = field.textCursor().hasSelection();
    switch (command) {
    case EditorCommand::Undo:
        if (field.document()->isUndoAvailable()) {
            field.undo();
        }
        return true;
    case EditorCommand::Cut:
        if (hasSelection) {
            field.cut();
        }
        return true;
    case EditorCommand::Copy:
        if (hasSelection) {
            field.copy();
        }
        return true;
    case EditorCommand::Clear:
        if (hasSelection) {
            field.textCursor().removeSelectedText();
        }
        return true;
    case EditorCommand::Paste:
        if (ClipboardHasText()) {
            field.paste();
        }
        return true;
    case EditorCommand::SelectAll:
        if (!field.document()->isEmpty()) {
            field.setFocus();
            field.selectAll();
            field.ensureCursorVisible();
        }
        return true;
    default:
        return false;
    }
}

void TemplateEditor::PopUpDropDown(int commandId)
{
    const int index = commandId - CommandId(EditorCommand::FirstDropDown);
    QMenu* menu = index < 3 ? m_menus.substitutionPages[static_cast<std::size_t>(index)]
                            : m_menus.valuePages[static_cast<std::size_t>(index - 3)];
    QAction* button = m_toolBar != nullptr ? FindCommand(*m_toolBar, commandId) : nullptr;
    QWidget* widget = button != nullptr ? m_toolBar->widgetForAction(button) : nullptr;
    if (widget != nullptr) {
        menu->popup(widget->mapToGlobal(QPoint(6, widget->height() + 2)));
    }
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

void TemplateEditor::NewTemplate()
{
    std::string name;
    if (!askName(name)) {
        return;
    }
    SaveCurrent();
    const int selected = m_ui->templateList->currentRow();
    const std::optional<int> row = m_list.Add(name);
    if (!row) {
        // Back to what was shown before: the template that was selected, with its text.
        LoadEntry(selected);
        UpdateCommandStates();
        return;
    }
    {
        const QSignalBlocker blocker(m_ui->templateList);
        InsertEntry(*m_ui->templateList, *row, name);
        m_ui->templateList->setCurrentRow(*row);
    }
    m_ui->templateText->clear();
    m_ui->templateText->setReadOnly(false);
    m_readOnlyNote->hide();
    UpdateCommandStates();
}

void TemplateEditor::DeleteTemplate()
{
    const int row = m_ui->templateList->currentRow();
    if (row < 0) {
        return;
    }
    const QString shown = m_ui->templateList->item(row)->text();
    if (ask(QMessageBox::Question, m_files.Message(kDeleteQuestion).replace(QStringLiteral("%s"), shown),
            QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    const std::optional<int> next = m_list.Delete(row);
    if (!next) {
        m_files.Fail(kDeleteErrorMessage, shown.toStdString());
        return;
    }
    {
        const QSignalBlocker blocker(m_ui->templateList);
        delete m_ui->templateList->takeItem(row);
        m_ui->templateList->setCurrentRow(*next);
    }
    if (*next < 0) {
        m_ui->templateText->clear();
    } else {
        LoadEntry(*next);
    }
    UpdateCommandStates();
}

void TemplateEditor::SaveExpanded()
{
    SaveCurrentAndRemember();
    m_files.SaveToChosenFile(m_files.Expanded(FieldText()));
    QDialog::accept();
}

void TemplateEditor::CopyExpanded()
{
    SaveCurrentAndRemember();
    SetClipboardText(m_files.Expanded(FieldText()));
    QDialog::accept();
}

void TemplateEditor::reject()
{
    SaveCurrentAndRemember();
    QDialog::reject();
}
