// The module view of 1,000 components with their values, painted offscreen:
// one simulation cycle plus one repaint, with the whole module on screen and
// zoomed to 100% where most of it is off screen; the same after an edit, which
// draws what the view keeps between cycles afresh; and the cycle alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QStandardPaths>
#include <cstdlib>
#include <memory>

#include "designer/gui/design_view.h"
#include "designer/gui/main_window.h"
#include "graph_builders.h"
#include "persistence/project_file.h"

namespace zor2::bench {
namespace {

/// Ten arithmetic chains side by side, all fed by the module input: 1,000 components.
CNetworkModel* WideModule(CNetwork& module, CNetworkInput& in, int) {
    CNetworkModel* last = nullptr;
    for (int chain = 0; chain < 10; ++chain) last = ArithModule(module, in, chain);
    return last;
}

/// The designer window showing the module; built once per process.
struct CViewScene {
    std::unique_ptr<QApplication> app;
    std::unique_ptr<gui::CMainWindow> window;
    QImage image;
    bool ready = false;

    CViewScene() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "zor2_bench_paint";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        QStandardPaths::setTestModeEnabled(true);
        const std::string path = BenchTempPath("view1k.zr2");
        std::unique_ptr<CGraph> g = Build(nullptr, WideModule, 1);
        if (!SaveProjectFile(g->system, path)) return;
        CUdpConfig link;
        link.receivePort = 0;
        link.sendPort = 9;  // discard
        window = std::make_unique<gui::CMainWindow>(nullptr, link);
        window->resize(1600, 1000);
        window->show();
        ready = window->OpenProject(QString::fromStdString(path));
        std::remove(path.c_str());
        if (!ready) return;
        window->Document().System().m_behaviorsEnabled = false;
        window->View().ShowModule(window->Document().System().m_modules.Head());
        image = QImage(window->View().viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    }
    CSystem& System() { return window->Document().System(); }
    gui::CDesignView& View() { return window->View(); }
};

CViewScene& Scene() {
    static CViewScene scene;
    return scene;
}

/// One cycle and one repaint per iteration at the view's current place.
void CycleAndPaint(benchmark::State& state) {
    CViewScene& s = Scene();
    // The first paint at a place draws what the cycles leave as it was; each cycle repaints over it.
    s.View().viewport()->render(&s.image);
    for (auto _ : state) {
        s.System().RunCycle();
        s.View().viewport()->render(&s.image);
    }
}

void BM_CycleAndPaintAll1k(benchmark::State& state) {
    if (!Scene().ready) return state.SkipWithError("the view could not be set up");
    Scene().View().FitContent();
    CycleAndPaint(state);
}
BENCHMARK(BM_CycleAndPaintAll1k)->Unit(benchmark::kMillisecond)->Repetitions(3);

void BM_CycleAndPaintZoomed1k(benchmark::State& state) {
    if (!Scene().ready) return state.SkipWithError("the view could not be set up");
    Scene().View().SetPlace(1.0, QPointF(0, 0));
    CycleAndPaint(state);
}
BENCHMARK(BM_CycleAndPaintZoomed1k)->Unit(benchmark::kMillisecond)->Repetitions(3);

/// One cycle and one repaint after an edit at 100%: what the view keeps between
/// cycles is drawn afresh, as while scrolling during a run.
void BM_CycleAndRedrawZoomed1k(benchmark::State& state) {
    if (!Scene().ready) return state.SkipWithError("the view could not be set up");
    CViewScene& s = Scene();
    s.View().SetPlace(1.0, QPointF(0, 0));
    for (auto _ : state) {
        s.System().RunCycle();
        s.View().Redraw();
        s.View().viewport()->render(&s.image);
    }
}
BENCHMARK(BM_CycleAndRedrawZoomed1k)->Unit(benchmark::kMillisecond)->Repetitions(3);

void BM_Cycle1k(benchmark::State& state) {
    if (!Scene().ready) return state.SkipWithError("the view could not be set up");
    for (auto _ : state) Scene().System().RunCycle();
}
BENCHMARK(BM_Cycle1k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zor2::bench
