// A designer window holding one module with a constant feeding a math
// component, a chart and a value window on the constant's output and two
// background graphics, laid out so that everything fits the view.
#pragma once

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "designer/command_rows.h"
#include "designer/commands.h"
#include "designer/gui/main_window.h"

namespace zor2::gui {

/// The windows under test bind a port the system chooses and send to a port
/// nobody listens on.
inline CUdpConfig SceneLink() {
    CUdpConfig config;
    config.receivePort = 0;
    config.sendPort = 9;  // discard
    return config;
}

/// Once per test program: settings go to the test locations under the
/// designer's name; false when the temporary folder could not be made.
inline bool StartGuiTests(const QTemporaryDir& dir) {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(CDesignerSettings::kApplication);
    return dir.isValid();
}

/// Before each test: a settings file of its own, so every test starts with
/// nothing stored.
inline void UseFreshSettings(const QTemporaryDir& dir, int& round) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QDir(dir.path()).filePath(QStringLiteral("settings%1").arg(++round)));
}

struct CScene {
    std::unique_ptr<CMainWindow> w;
    CNetwork* module = nullptr;
    CNetworkModel* a = nullptr;    // a constant
    CNetworkModel* sum = nullptr;  // a math component fed by it
    CChart* chart = nullptr;
    CValueWindow* window = nullptr;
    CGraphic* g1 = nullptr;
    CGraphic* g2 = nullptr;

    CScene() {
        w = std::make_unique<CMainWindow>(nullptr, SceneLink());
        w->resize(1600, 1000);
        w->show();
        Czor2Doc& d = w->Document();
        CSystem& s = d.System();
        AddModule(d);
        module = s.m_modules.Head();
        Design();
        AddComponent(d, 41, 140, 120);
        AddComponent(d, 21, 380, 120);
        a = module->m_components.Head();
        sum = module->m_components.Tail();
        ConnectComponents(d, a->m_id, a->FirstOutput()->m_id, sum->m_id, 0);
        CEditorState& e = d.Editor();
        e.SelectComponentOutput(a->m_id, a->FirstOutput()->m_id);
        e.ApplyToModel(s);
        ShowChart(d);
        e.SelectComponentOutput(a->m_id, a->FirstOutput()->m_id);
        e.ApplyToModel(s);
        ShowValueWindow(d);
        AddGraphic(d, 100, 300);
        AddGraphic(d, 400, 300);
        chart = s.m_charts.m_charts.Head();
        window = s.m_valueWindows.m_windows.Head();
        g1 = s.m_graphics.m_graphics.Head();
        g2 = s.m_graphics.m_graphics.Tail();
        // Known places, clear of each other.
        chart->m_rect = {520, 60, 720, 180};
        window->m_rect = {520, 220, 620, 268};
        g1->m_rect = {60, 300, 260, 400};
        g2->m_rect = {300, 320, 450, 380};
        e.ClearSelection();
        e.ApplyToModel(s);
        w->View().SetZoom(0.8);
        w->View().CenterView();
        w->Refresh();
    }

    /// Opens the module in the module design view.
    void Design() { w->View().ShowModule(module); }
    /// Opens the module at zoom 1, centred, and returns the view's viewport
    /// (what the mouse gestures go to).
    QWidget* DesignAtFullSize() {
        Design();
        w->View().SetZoom(1.0);
        w->View().CenterView();
        return w->View().viewport();
    }

    QAction* Action(const QString& ident) const {
        if (const int id = CommandId(ident.toStdString())) return w->CommandAction(id);
        qFatal("no command %s", qPrintable(ident));
        return nullptr;
    }
    /// What a click on the command's ribbon button does (nothing when it is disabled).
    void Trigger(const QString& ident) const { Action(ident)->trigger(); }
    /// Types into every edit field of a command.
    void SetEdit(const char* ident, const QString& text) const {
        for (QLineEdit* edit : w->findChildren<QLineEdit*>(ident)) edit->setText(text);
    }
};

}  // namespace zor2::gui
