// zor2-screenshot: opens a project in the designer window offscreen, runs it for
// N cycles as Run Once does (inputs from a CSV file if given) and saves the
// module view, fitted to its content, as a PNG picture.
#include <QApplication>
#include <QCommandLineParser>
#include <QDockWidget>
#include <QImage>
#include <QStandardPaths>
#include <QStatusBar>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "algo/csv.h"
#include "designer/gui/design_view.h"
#include "designer/gui/main_window.h"
#include "designer/view_layout.h"
#include "persistence/project_file.h"
#include "simulation/sim_controller.h"

namespace {

/// How far port fields and their names reach beyond a component's box, model units.
constexpr double kPortMargin = 130.0;

int Fail(const QString& why) {
    std::fprintf(stderr, "zor2-screenshot: %s\n", why.toLocal8Bit().constData());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zor2;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("ZOR2_NO_WELCOME", "1", 1);  // a welcome dialog would wait for a click no one gives
    QApplication app(argc, argv);
    // Keeps the user's designer settings, recent files and autosave out of it.
    QStandardPaths::setTestModeEnabled(true);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Saves a picture of a module of a project after N cycles."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("Project file (.zr2)"));
    parser.addPositionalArgument(QStringLiteral("picture"), QStringLiteral("PNG file to write"));
    const QCommandLineOption cycles(QStringLiteral("cycles"),
                                    QStringLiteral("Cycles to run first (default 0)."), QStringLiteral("N"),
                                    QStringLiteral("0"));
    const QCommandLineOption inputs(
        QStringLiteral("inputs"),
        QStringLiteral("CSV whose header names system input ids; row k is applied before cycle k."),
        QStringLiteral("FILE"));
    const QCommandLineOption module(QStringLiteral("module"),
                                    QStringLiteral("The module to show (default: the first)."),
                                    QStringLiteral("NAME"));
    const QCommandLineOption width(QStringLiteral("width"),
                                   QStringLiteral("Window width in pixels (default 1280)."),
                                   QStringLiteral("W"), QStringLiteral("1280"));
    const QCommandLineOption height(QStringLiteral("height"),
                                    QStringLiteral("Window height in pixels (default 800)."),
                                    QStringLiteral("H"), QStringLiteral("800"));
    parser.addOptions({cycles, inputs, module, width, height});
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return Fail(QStringLiteral("a project and a picture file are needed (see --help)"));
    bool ok = false;
    const int cycleCount = parser.value(cycles).toInt(&ok);
    if (!ok || cycleCount < 0) return Fail(QStringLiteral("--cycles needs a whole number of 0 or more"));
    const int w = parser.value(width).toInt(&ok);
    const int h = ok ? parser.value(height).toInt(&ok) : 0;
    if (!ok || w < 200 || h < 200 || w > 8000 || h > 8000)
        return Fail(QStringLiteral("--width and --height need 200 to 8000 pixels"));
    CInputTable rows;
    if (parser.isSet(inputs)) {
        std::string error;
        if (!rows.Read(parser.value(inputs).toStdString(), error)) return Fail(QString::fromStdString(error));
    }

    // The window tells of a file it cannot open in a message box no one would
    // close: the file is tried here first.
    {
        CSystem trial;
        const CFileResult r = LoadProjectFile(trial, files[0].toStdString());
        if (!r) return Fail(QString::fromStdString(r.message));
    }
    CUdpConfig link;
    link.receivePort = 0;  // any free port: the picture needs no real-time link
    link.sendPort = 9;     // discard
    gui::CMainWindow window(nullptr, link);
    window.resize(w, h);
    window.show();
    if (!window.OpenProject(files[0])) return Fail(QStringLiteral("cannot open %1").arg(files[0]));
    CSystem& system = window.Document().System();
    CNetwork* shown = nullptr;
    for (CNetwork* m : system.m_modules)
        if (!shown && (!parser.isSet(module) || m->m_name == parser.value(module).toStdString())) shown = m;
    if (!shown) return Fail(QStringLiteral("the project has no module %1").arg(parser.value(module)));
    for (int32_t id : rows.Ids())
        if (!system.FindSystemInput(id))
            return Fail(QStringLiteral("the project has no system input %1").arg(id));

    system.ResetSystem();
    for (int k = 0; k < cycleCount; ++k) {
        rows.Apply(static_cast<size_t>(k),
                   [&system](int32_t id, double v) { system.FindSystemInput(id)->SetValue(v); });
        window.Simulation().RunOnce();
    }
    // The module view alone, as large as the window allows, its content fitted.
    for (QDockWidget* pane : window.findChildren<QDockWidget*>()) pane->hide();
    if (QWidget* ribbon = window.menuWidget()) ribbon->hide();
    window.statusBar()->hide();
    gui::CDesignView& view = window.View();
    view.ShowModule(shown);
    QApplication::processEvents();
    // The boxes with the port fields and names that stand out on both sides, between the bars.
    const QRectF content = view.ContentBounds();
    const auto fit =
        FitTransform(CRectD::Sized(content.left() - kPortMargin, content.top() - kPortMargin,
                                   content.width() + 2 * kPortMargin, content.height() + 2 * kPortMargin),
                     view.viewport()->width(), view.viewport()->height(), kBarWidth, kBarWidth, true);
    if (fit) view.SetPlace(fit->zoom, QPointF(fit->scroll.x, fit->scroll.y));
    QApplication::processEvents();
    QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    view.viewport()->render(&image);
    if (!image.save(files[1], "PNG")) return Fail(QStringLiteral("cannot write %1").arg(files[1]));
    return 0;
}
