#include "app/main_window.h"

#include "ui_main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "app/help_dialog.h"
#include "app/options_page.h"
#include "app/page_switcher.h"
#include "core/colors.h"
#include "desktop/time_change_watcher.h"
#include "pages/calc/rollback_page.h"
#include "pages/help_key_filter.h"
#include "pages/help_request.h"
#include "pages/info/time_info_page.h"
#include "pages/page_widget.h"
#include "pages/templates/template_editor.h"
#include "pages/templates/template_name_dialog.h"
#include "pages/translation.h"
#include "widgets/color_conversion.h"

namespace {

constexpr int kMainDialogId = 144;
// The template editor's section in language files.
constexpr char kEditorSection[] = "DialogID_131";

QColor BackgroundColor(const QPalette& palette)
{
    return Lightened(palette.color(QPalette::Button), kBackgroundLightening);
}

}   // namespace

MainWindow::MainWindow(const AppServices& services, QWidget* parent)
    : QWidget(parent),
      m_services(services),
      m_ui(std::make_unique<Ui::MainWindow>()),
      m_language(services.location),
      m_workingDays(services.settings, services.readHolidays, LocaleWorkingWeekdays(QLocale())),
      m_pageServices{services.clock,    services.formatter,
                     services.settings, m_language,
                     services.zones,    [this](const DateTime& value) { ShowOnTimeInfo(value); },
                     &m_workingDays,    services.zonePlaces,
                     services.loadZone, services.computerZone}
{
    m_ui->setupUi(this);
    setWindowIcon(ApplicationIcon());
    setWindowTitle(QStringLiteral("Chronel " CHRONEL_VERSION));
    QPalette background = palette();
    background.setColor(QPalette::Window, BackgroundColor(background));
    setPalette(background);
    setAutoFillBackground(true);

    const OptionsServices options{m_language, services.location, [this] { ApplyLanguage(false); },
                                  [this] { UpdateTrayIcon(); }};
    m_pages = std::make_unique<PageSwitcher>(*m_ui->pageList, *m_ui->sheet,
                                             PageParts{m_pageServices, services.clockSetter, options});
    m_timeInfo = static_cast<TimeInfoPage*>(m_pages->Page(kTimeInfoPage));
    m_rollback = static_cast<RollbackPage*>(m_pages->Page(kRollbackPage));
    m_workingDays.Reload();
    // The pages join the focus chain after the buttons; Tab goes list, page, then the buttons.
    QWidget::setTabOrder(m_ui->helpButton, m_ui->pageList);
    m_ui->pageList->setFocus();
    connect(&services.timeChanges, &TimeChangeSource::timeChanged, m_rollback, &RollbackPage::TimeChanged);
    connect(m_pages.get(), &PageSwitcher::pageActivated, this, &MainWindow::UpdateOutputButtons);
    connect(&m_tray, &SystemTray::openRequested, this, &MainWindow::ShowMainWindow);
    connect(&m_tray, &SystemTray::pageRequested, this, [this](int page) {
        m_pages->Activate(page, true);
        ShowMainWindow();
    });
    connect(&m_tray, &SystemTray::exitRequested, this, &MainWindow::ExitSequence);
    m_pageValues =
        std::make_unique<PageValueSource>(Page(kDifferencePage), Page(kCalculationPage), m_timeInfo, m_language);
    m_output = new OutputActions(
        OutputActions::Services{services.settings, m_language, *m_pageValues, services.clock, services.formatter},
        this);
    connect(m_ui->saveOutput, &QPushButton::clicked, this,
            [this] { m_output->ShowOutputMenu(OutputMode::Save, ActivePageIndex(), m_ui->saveOutput); });
    connect(m_ui->copyOutput, &QPushButton::clicked, this,
            [this] { m_output->ShowOutputMenu(OutputMode::Copy, ActivePageIndex(), m_ui->copyOutput); });

    connect(m_ui->exitButton, &QPushButton::clicked, this, &MainWindow::ExitSequence);
    connect(m_ui->helpButton, &QPushButton::clicked, this, [this] { ShowHelpTopic(SelectedPageHelpTopic()); });
    InstallHelpKey(*this, HelpKeyMoment::Release, [this] { return SelectedPageHelpTopic(); });
    connect(m_ui->templates, &QPushButton::clicked, this, &MainWindow::OpenTemplateEditor);

    std::string languageName;
    services.settings.ReadString(SettingId::Lang, languageName);
    // Every default text looked up from here to the translated window goes into english.lng in one write.
    m_language.HoldDefaults();
    m_language.Load(languageName.empty() ? "english" : languageName);

    int stored = services.settings.ReadInt(SettingId::ActivePageNo);
    m_pages->Activate(stored >= 0 && stored < kPageCount ? stored : kDifferencePage, true);
    m_pages->LoadSettings();
    UpdateTrayIcon();
    ApplyLanguage(true);
    WriteUnopenedWindowDefaults();
    m_language.WriteHeldDefaults();

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = frameGeometry();
        area.moveCenter(screen->availableGeometry().center());
        move(area.topLeft());
    }
    UpdateOutputButtons();
}

MainWindow::~MainWindow() = default;

PageWidget* MainWindow::Page(int index) const
{
    return m_pages->Page(index);
}

int MainWindow::ActivePageIndex() const
{
    return m_pages->ActiveIndex();
}

void MainWindow::OpenTemplateEditor()
{
    TemplateEditor editor(TemplateEditor::Services{*m_pageValues, m_services.clock, m_services.formatter,
                                                   m_services.settings, m_services.location, m_language},
                          this);
    if (editor.Open()) {
        editor.exec();
    }
}

void MainWindow::WriteUnopenedWindowDefaults()
{
    // A translator starts from english.lng right after installing: the windows a first start does not
    // open offer their texts too. They are built hidden, only while english.lng lacks the editor's.
    if (m_language.HoldsDefault(kEditorSection, "ID_0")) {
        return;
    }
    m_output->ShowOutputMenu(OutputMode::Copy, ActivePageIndex(), nullptr);
    const TemplateNameDialog name(m_language, [](const std::string& candidate) { return candidate; });
    TemplateEditor editor(TemplateEditor::Services{*m_pageValues, m_services.clock, m_services.formatter,
                                                   m_services.settings, m_services.location, m_language});
    editor.ask = [](QMessageBox::Icon, const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; };
    editor.Open();
}

void MainWindow::UpdateOutputButtons()
{
    const int page = ActivePageIndex();
    const bool hasValues = page >= 0 && page < kPageCount && kPages[static_cast<std::size_t>(page)].hasValues;
    m_ui->saveOutput->setEnabled(hasValues);
    m_ui->copyOutput->setEnabled(hasValues);
}

void MainWindow::ShowOnTimeInfo(const DateTime& value)
{
    m_timeInfo->ShowDateInfo(value);
    m_pages->Activate(kTimeInfoPage, true);
}

void MainWindow::ApplyLanguage(bool writeDefaults)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_language.HoldDefaults();
    std::string languageName;
    m_services.settings.ReadString(SettingId::Lang, languageName);
    m_language.Load(languageName.empty() ? "english" : languageName);
    std::string section;
    TranslateWindow(m_language, writeDefaults, false, this, kMainDialogId, 0, section);
    m_pages->FitList();
    m_tray.BuildMenu(m_language, devicePixelRatioF());
    m_pages->SaveSettings();
    m_pages->LoadSettings();
    m_language.WriteHeldDefaults();
    // Texts of another length move the page frame; what it leaves behind in the window must be painted
    // over too, not only the widgets that moved.
    update();
    QGuiApplication::restoreOverrideCursor();
}

void MainWindow::UpdateTrayIcon()
{
    m_tray.SetShown(m_services.settings.ReadInt(SettingId::HideToTray) != 0);
}

void MainWindow::ShowMainWindow()
{
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

void MainWindow::ExitSequence()
{
    if (m_exited) {
        return;
    }
    m_exited = true;
    m_pages->SaveSettings();
    m_services.settings.WriteInt(SettingId::ActivePageNo, ActivePageIndex());
    m_services.settings.WriteInt(SettingId::Visibled, isVisible() ? 1 : 0);
    m_tray.SetShown(false);
    emit exitRequested();
}

QString MainWindow::SelectedPageHelpTopic() const
{
    const int row = m_ui->pageList->currentRow();
    return row >= 0 && row < kPageCount ? Page(row)->HelpTopic() : QStringLiteral("overview");
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    ExitSequence();
    event->accept();
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Minimising hides into the tray only where a tray can show the icon; elsewhere the window
    // minimises as usual so it can never become unreachable.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_tray.Icon() != nullptr &&
        QSystemTrayIcon::isSystemTrayAvailable()) {
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        ExitSequence();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    const QRect listArea = m_ui->pageList->geometry().adjusted(-2, -2, 2, 2);
    DrawCommonFrame(painter, listArea, palette().color(QPalette::Button), kBackgroundLightening);
}
