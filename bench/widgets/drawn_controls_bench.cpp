#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QPainter>

#include "qt_application.h"
#include "widgets/editor_icons.h"
#include "widgets/hover_page_list.h"
#include "widgets/icon_menu.h"
#include "widgets/page_icons.h"

namespace {

// The whole page list painted with one row hot and one selected: what a mouse move over it costs at most.
void BM_PaintPageList(benchmark::State& state)
{
    BenchApplication();
    QWidget parent;
    QListWidget list(&parent);
    HoverPageList pages;
    QList<QPixmap> images;
    for (PageArt art : {DrawDifferenceIcon, DrawCalculationIcon, DrawTimeInfoIcon, DrawRollbackIcon, DrawOptionsIcon,
                        DrawAboutIcon}) {
        images.append(PageIcon(art, 32, 1.0));
    }
    pages.Init(&parent, &list, 2, images, {"Difference", "Calculation", "Time Info", "Rollback", "Options", "About"});
    list.resize(90, 6 * pages.RowHeight() + 4);
    list.setCurrentRow(0);
    list.item(2)->setData(HoverPageList::kHotRole, 1);
    parent.show();   // lays the rows out
    QPixmap target(list.viewport()->size());
    state.counters["pixels"] = target.width() * target.height();
    for (auto _ : state) {
        list.viewport()->render(&target);
        benchmark::DoNotOptimize(target);
    }
}
BENCHMARK(BM_PaintPageList)->Unit(benchmark::kMicrosecond);

// A twenty-item menu with accelerators converted, measured and painted.
void BM_ConvertAndPaintMenu(benchmark::State& state)
{
    BenchApplication();
    const QPixmap strip = EditorIconStrip(1.0);
    for (auto _ : state) {
        QMenu menu;
        for (int i = 0; i < 20; ++i) {
            menu.addAction(QStringLiteral("&Item %1\tValue %2").arg(i).arg(i * 1000));
        }
        IconMenu icons(menu);
        icons.LoadIcons(strip, Qt::white);
        menu.adjustSize();
        QPixmap target(menu.size());
        menu.render(&target);
        benchmark::DoNotOptimize(target);
    }
}
BENCHMARK(BM_ConvertAndPaintMenu)->Unit(benchmark::kMicrosecond);

}   // namespace
