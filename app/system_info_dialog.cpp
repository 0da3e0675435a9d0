#include "app/system_info_dialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QSysInfo>
#include <QTimeZone>
#include <QVBoxLayout>

SystemInfoDialog::SystemInfoDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("System Information"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    for (const auto& [label, value] : Facts()) {
        auto* text = new QLabel(value, this);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, text);
    }
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

namespace {

// The locale that formats dates, as the C library picks it (LC_ALL, then LC_TIME, then LANG).
QString TimeLocaleFact()
{
    QByteArray name;
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        name = qgetenv(variable);
        if (!name.isEmpty()) {
            break;
        }
    }
    if (name.isEmpty() || name == "C" || name == "POSIX" || name.startsWith("C.")) {
        return QStringLiteral("C (") + SystemInfoDialog::tr("no locale set") + u')';
    }
    const QLocale locale(QString::fromLatin1(name.left(name.indexOf('.'))));
    return QString::fromLatin1(name) + QStringLiteral(" (") + locale.nativeLanguageName() + QStringLiteral(", ") +
           locale.nativeTerritoryName() + u')';
}

}   // namespace

std::vector<std::pair<QString, QString>> SystemInfoDialog::Facts()
{
    const QTimeZone zone = QTimeZone::systemTimeZone();
    return {
        {tr("Distribution:"), QSysInfo::prettyProductName()},
        {tr("Kernel:"), QSysInfo::kernelType() + u' ' + QSysInfo::kernelVersion()},
        {tr("Architecture:"), QSysInfo::currentCpuArchitecture()},
        {tr("Qt version:"), QString::fromLatin1(qVersion())},
        {tr("Locale:"), TimeLocaleFact()},
        {tr("Time zone:"), QString::fromUtf8(zone.id()) + QStringLiteral(" (") +
                               zone.displayName(QTimeZone::GenericTime, QTimeZone::LongName) + u')'},
    };
}
