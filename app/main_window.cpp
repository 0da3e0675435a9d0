#include "app/main_window.h"

#include "ui_main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "calc/difference_page.h"
#include "calc/rollback_page.h"
#include "calc/calculation_page.h"
#include "info/time_info_page.h"
#include "platform/time_change_watcher.h"
#include "app/about_page.h"
#include "widgets/colors.h"
#include "app/help_dialog.h"
#include "app/options_page.h"
#include "pages/page_widget.h"
#include "pages/translation.h"
#include "templates/template_editor.h"
#include "widgets/control_id.h"
#include "widgets/drawn_palette.h"
#include "widgets/editor_icons.h"
#include "widgets/page_icons.h"

namespace {

const char* const kPageNames[kPageCount] = {"Difference", "Calculation", "Time Info", "Rollback", "Options", "About"};
const char* const kHelpTopics[kPageCount] = {"diff", "calc", "timeinfo", "rollback", "options", "about"};

// Pages save and load in this order, not in index order.
constexpr std::array<int, 5> kSettingsOrder = {kDifferencePage, kCalculationPage, kRollbackPage, kTimeInfoPage,
                                               kOptionsPage};

constexpr int kMainDialogId = 144;
constexpr int kTrayMenuId = 135;
constexpr int kPageIconSize = 32;
constexpr int kPageListMargin = 2;

// Commands of the tray menu.
enum TrayCommand {
    kDifferenceCommand = 32772,
    kCalculationCommand = 32773,
    kTimeInfoCommand = 32774,
    kOptionsCommand = 32775,
    kAboutCommand = 32776,
    kExitCommand = 32777,
    kRollbackCommand = 32778,
    kOpenCommand = 32887,
    kHelpCommand = 32953,
};

QColor BackgroundColor(const QPalette& palette)
{
    const QColor face = palette.color(QPalette::Button);
    const Rgb light = Lighten({static_cast<std::uint8_t>(face.red()), static_cast<std::uint8_t>(face.green()),
                               static_cast<std::uint8_t>(face.blue())},
                              kBackgroundLightening);
    return QColor(light.red, light.green, light.blue);
}

}  // namespace

MainWindow::MainWindow(const AppServices& services, QWidget* parent)
    : QWidget(parent),
      m_services(services),
      m_ui(std::make_unique<Ui::MainWindow>()),
      m_language(services.location),
      m_pageServices{services.clock, services.formatter, services.settings, m_language, services.zones,
                     [this](const DateTime& value) { ShowOnTimeInfo(value); }}
{
    m_ui->setupUi(this);
    setWindowIcon(ApplicationIcon());
    setWindowTitle(QStringLiteral("Chronel 2.1"));
    QPalette background = palette();
    background.setColor(QPalette::Window, BackgroundColor(background));
    setPalette(background);
    setAutoFillBackground(true);

    m_pages = {new DifferencePage(m_pageServices), new CalculationPage(m_pageServices),
               new TimeInfoPage(m_pageServices),
               new RollbackPage(m_pageServices, services.clockSetter),
               new OptionsPage(m_pageServices,
                                      OptionsServices{m_language, services.location, [this] { ApplyLanguage(false); },
                                                      [this] { UpdateTrayIcon(); }}),
               new AboutPage};
    for (int i = 0; i < kPageCount; ++i) {
        m_pages[static_cast<std::size_t>(i)]->setWindowTitle(QString::fromLatin1(kPageNames[i]));
        m_ui->sheet->addWidget(m_pages[static_cast<std::size_t>(i)]);
    }
    // The pages join the focus chain after the buttons; Tab goes list, page, then the buttons.
    QWidget::setTabOrder(m_ui->helpButton, m_ui->pageList);
    m_ui->pageList->setFocus();
    connect(&services.timeChanges, &TimeChangeSource::timeChanged, this, &MainWindow::OnSystemTimeChanged);
    SetUpPageList();
    m_pageValues = std::make_unique<PageValueSource>(m_pages[kDifferencePage], m_pages[kCalculationPage],
                                                      m_pages[kTimeInfoPage]);
    m_output = new OutputActions(
        OutputActions::Services{services.settings, m_language, *m_pageValues, services.clock, services.formatter},
        this);
    connect(m_ui->saveOutput, &QPushButton::clicked, this,
            [this] { m_output->ShowOutputMenu(OutputMode::Save, ActivePageIndex(), m_ui->saveOutput); });
    connect(m_ui->copyOutput, &QPushButton::clicked, this,
            [this] { m_output->ShowOutputMenu(OutputMode::Copy, ActivePageIndex(), m_ui->copyOutput); });

    connect(m_ui->exitButton, &QPushButton::clicked, this, &MainWindow::ExitSequence);
    connect(m_ui->helpButton, &QPushButton::clicked, this, &MainWindow::ShowSelectedPageHelp);
    connect(m_ui->templates, &QPushButton::clicked, this, &MainWindow::OpenTemplateEditor);

    std::string languageName;
    services.settings.ReadString(SettingId::Lang, languageName);
    m_language.Load(languageName.empty() ? "english" : languageName);

    int stored = services.settings.ReadInt(SettingId::ActivePageNo);
    ActivatePage(stored >= 0 && stored < kPageCount ? stored : kDifferencePage, true);
    LoadAllSettings();
    UpdateTrayIcon();
    ApplyLanguage(true);

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = frameGeometry();
        area.moveCenter(screen->availableGeometry().center());
        move(area.topLeft());
    }
    UpdateOutputButtons();
}

MainWindow::~MainWindow() = default;

void MainWindow::SetUpPageList()
{
    QList<QPixmap> images;
    QStringList captions;
    for (int i = 0; i < kPageCount; ++i) {
        images.append(PageIcon(i, kPageIconSize, devicePixelRatioF()));
        captions.append(QString::fromLatin1(kPageNames[i]));
    }
    m_pageList.Init(this, m_ui->pageList, kPageListMargin, images, captions);
    FitPageList();
    connect(m_ui->pageList, &QListWidget::currentRowChanged, this, &MainWindow::OnPageListSelection);
}

void MainWindow::FitPageList()
{
    // As wide as the widest caption of the current language, so no caption is cut, and tall enough
    // for every row.
    QListWidget& list = *m_ui->pageList;
    int widest = kPageIconSize;
    for (int i = 0; i < list.count(); ++i) {
        widest = std::max(widest, list.fontMetrics().horizontalAdvance(list.item(i)->text()));
    }
    const int frame = 2 * list.frameWidth();
    list.setFixedWidth(std::max(widest + 16, 72) + frame);
    list.setMinimumHeight(list.count() * m_pageList.RowHeight() + frame);
}

PageWidget* MainWindow::Page(int index) const
{
    return index >= 0 && index < kPageCount ? m_pages[static_cast<std::size_t>(index)] : nullptr;
}

int MainWindow::ActivePageIndex() const
{
    return m_ui->sheet->currentIndex();
}

void MainWindow::ActivatePage(int index, bool selectRow)
{
    m_ui->sheet->setCurrentIndex(index);
    if (selectRow) {
        const QSignalBlocker blocker(m_ui->pageList);
        m_ui->pageList->setCurrentRow(index);
    }
    // Whichever way a page is reached (list, tray, a Time Info button), the outputs follow it.
    UpdateOutputButtons();
}

void MainWindow::OnPageListSelection()
{
    const int row = m_ui->pageList->currentRow();
    ActivatePage(row >= 1 && row < kPageCount ? row : kDifferencePage, false);
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

void MainWindow::UpdateOutputButtons()
{
    const int page = ActivePageIndex();
    const bool hasValues = page == kDifferencePage || page == kCalculationPage || page == kTimeInfoPage;
    m_ui->saveOutput->setEnabled(hasValues);
    m_ui->copyOutput->setEnabled(hasValues);
}

void MainWindow::ShowOnTimeInfo(const DateTime& value)
{
    static_cast<TimeInfoPage*>(m_pages[kTimeInfoPage])->ShowDateInfo(value);
    ActivatePage(kTimeInfoPage, true);
}

void MainWindow::OnSystemTimeChanged()
{
    static_cast<RollbackPage*>(m_pages[kRollbackPage])->TimeChanged();
}

void MainWindow::LoadAllSettings()
{
    for (int index : kSettingsOrder) {
        m_pages[static_cast<std::size_t>(index)]->LoadSettings();
    }
}

void MainWindow::SaveAllSettings()
{
    for (int index : kSettingsOrder) {
        m_pages[static_cast<std::size_t>(index)]->SaveSettings();
    }
}

void MainWindow::ApplyLanguage(bool writeDefaults)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    std::string languageName;
    m_services.settings.ReadString(SettingId::Lang, languageName);
    m_language.Load(languageName.empty() ? "english" : languageName);
    std::string section;
    TranslateWindow(m_language, writeDefaults, false, this, kMainDialogId, 0, section);
    FitPageList();
    BuildTrayMenu();
    TranslateMenu(m_language, true, m_trayMenu.get(), kTrayMenuId);
    m_trayIcons = std::make_unique<IconMenu>(*m_trayMenu);
    m_trayIcons->LoadIcons(TrayIconStrip(devicePixelRatioF()), QColor(kStripMask));
    const int iconCommands[kTrayIconCount] = {kDifferenceCommand, kCalculationCommand, kTimeInfoCommand,
                                              kRollbackCommand, kOptionsCommand};
    for (int i = 0; i < kTrayIconCount; ++i) {
        m_trayIcons->SetCommandIcon(iconCommands[i], i);
    }
    SaveAllSettings();
    LoadAllSettings();
    // Texts of another length move the page frame; what it leaves behind in the window must be painted
    // over too, not only the widgets that moved.
    update();
    QGuiApplication::restoreOverrideCursor();
}

void MainWindow::BuildTrayMenu()
{
    m_trayIcons.reset();
    m_trayMenu = std::make_unique<QMenu>();
    const auto add = [this](int command, const char* text) {
        QAction* action = m_trayMenu->addAction(QString::fromLatin1(text));
        SetControlId(*action, command);
        return action;
    };
    QAction* open = add(kOpenCommand, "Open...");
    m_trayMenu->setDefaultAction(open);
    connect(open, &QAction::triggered, this, &MainWindow::ShowMainWindow);
    m_trayMenu->addSeparator();
    const std::pair<int, int> pageCommands[] = {{kDifferenceCommand, kDifferencePage},
                                                {kCalculationCommand, kCalculationPage},
                                                {kTimeInfoCommand, kTimeInfoPage},
                                                {kRollbackCommand, kRollbackPage},
                                                {kOptionsCommand, kOptionsPage}};
    const char* const pageTexts[] = {"Difference...", "Calculation...", "Time Info...", "Rollback...", "Options..."};
    for (std::size_t i = 0; i < std::size(pageCommands); ++i) {
        if (i == 4) {
            m_trayMenu->addSeparator();
        }
        QAction* action = add(pageCommands[i].first, pageTexts[i]);
        const int page = pageCommands[i].second;
        connect(action, &QAction::triggered, this, [this, page] {
            ActivatePage(page, true);
            ShowMainWindow();
        });
    }
    m_trayMenu->addSeparator();
    connect(add(kHelpCommand, "Help"), &QAction::triggered, this, [] { ShowHelpTopic(QStringLiteral("overview")); });
    connect(add(kAboutCommand, "About..."), &QAction::triggered, this, [this] {
        ActivatePage(kAboutPage, true);
        ShowMainWindow();
    });
    m_trayMenu->addSeparator();
    connect(add(kExitCommand, "Exit"), &QAction::triggered, this, &MainWindow::ExitSequence);
}

void MainWindow::UpdateTrayIcon()
{
    const bool wanted = m_services.settings.ReadInt(SettingId::HideToTray) != 0;
    if (!wanted) {
        m_tray.reset();
        return;
    }
    if (m_tray) {
        return;
    }
    m_tray = std::make_unique<QSystemTrayIcon>(ApplicationIcon());
    m_tray->setToolTip(QString::fromLatin1(SettingsStore::kApplicationName.data(),
                                           static_cast<qsizetype>(SettingsStore::kApplicationName.size())));
    connect(m_tray.get(), &QSystemTrayIcon::activated, this, &MainWindow::OnTrayActivated);
    m_tray->show();
}

void MainWindow::OnTrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger) {
        ShowMainWindow();
    } else if (reason == QSystemTrayIcon::Context && !isVisible() && m_trayMenu) {
        m_trayMenu->popup(QCursor::pos());
    }
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
    SaveAllSettings();
    m_services.settings.WriteInt(SettingId::ActivePageNo, ActivePageIndex());
    m_services.settings.WriteInt(SettingId::Visibled, isVisible() ? 1 : 0);
    m_tray.reset();
    emit exitRequested();
}

void MainWindow::ShowSelectedPageHelp()
{
    const int row = m_ui->pageList->currentRow();
    ShowHelpTopic(row >= 0 && row < kPageCount ? QString::fromLatin1(kHelpTopics[row]) : QStringLiteral("overview"));
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
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_tray &&
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
    if (event->key() == Qt::Key_F1) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        ShowSelectedPageHelp();
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void MainWindow::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    const QRect listArea = m_ui->pageList->geometry().adjusted(-2, -2, 2, 2);
    DrawCommonFrame(painter, listArea, palette().color(QPalette::Button), kBackgroundLightening);
}
