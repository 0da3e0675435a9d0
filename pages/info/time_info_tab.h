#pragma once

#include <QWidget>

#include "core/date_time.h"

// Base of the five Time Info sub-pages: the button-face background and F1 for the topic "timeinfo".
// The Time Info page hands each sub-page its value through UpdateInfo on every refresh.
class TimeInfoTab : public QWidget {
    Q_OBJECT
public:
    explicit TimeInfoTab(QWidget* parent = nullptr);

    // Writes every field of the sub-page for the value.
    virtual void UpdateInfo(const DateTime& value) = 0;
    // The sub-page's own settings, read when the page loads its settings (before the refresh that follows)
    // and written when it saves them; most sub-pages have none.
    virtual void LoadSettings() {}
    virtual void SaveSettings() const {}

signals:
    // A Time Info button asks the Time Info page to show this moment.
    void timeInfoRequested(const DateTime& value);

protected:
    void paintEvent(QPaintEvent* event) override;
};
