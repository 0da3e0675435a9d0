#pragma once

#include <QDialog>
#include <QString>

#include <utility>
#include <vector>

// The facts about this computer that the About page offers: distribution, kernel, Qt version, locale and
// time zone.
class SystemInfoDialog final : public QDialog {
    Q_OBJECT
public:
    explicit SystemInfoDialog(QWidget* parent = nullptr);

    // Label and value of each fact, in the order shown.
    static std::vector<std::pair<QString, QString>> Facts();
};
