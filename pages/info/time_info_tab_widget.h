#pragma once

#include <QTabWidget>

// The nested sheet of the Time Info page: its sub-pages as tabs of one fixed width. Tabs are 67 pixels
// wide, or as wide as the widest caption needs when a language's captions are longer, so every tab is
// the same width and no caption is cut.
class TimeInfoTabWidget final : public QTabWidget {
    Q_OBJECT
public:
    static constexpr int kTabWidth = 67;

    explicit TimeInfoTabWidget(QWidget* parent = nullptr);
};
