// The window's side of the file commands: the file dialogs, the recent-file
// list, the export report, the runtime equivalence report, and the entry points
// that take a path directly.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMenu>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "designer/commands_window.h"
#include "designer/gui/dialogs.h"
#include "designer/gui/main_window.h"
#include "tools/runtime_report.h"
#include "tools/runtime_verify.h"

namespace zor2::gui {
namespace {

/// What a file dialog shows for a kind of file.
struct CFileDialog {
    EPathKind kind;
    const char* openTitle;
    const char* saveTitle;
    const char* filter;
    const char* extension;  // added to a saved name without one
    EFolder folder;
};

const CFileDialog kFileDialogs[] = {
    {EPathKind::Project, "Load Corvel Project (ZR2)", "Save Corvel Project (ZR2)", "ZR2 Files(*.zr2)", "zr2",
     EFolder::Projects},
    {EPathKind::Module, "Load Corvel System Module (ZRM)", "Save Corvel System Module (ZRM)",
     "System Module Files(*.zrm)", "zrm", EFolder::Modules},
    {EPathKind::Runtime, "", "Create Corvel Mindlatch2 Runtime (ZR2R)", "ZR2R Files(*.z2r)", "z2r",
     EFolder::Runtime},
    {EPathKind::Csv, "Open CSV file for Import (CSV)", "", "CSV Files(*.csv)", "csv", EFolder::Projects},
};

const CFileDialog& DialogFor(EPathKind kind) {
    for (const CFileDialog& d : kFileDialogs)
        if (d.kind == kind) return d;
    return kFileDialogs[0];
}

}  // namespace

std::string CMainWindow::ChooseOpenPath(EPathKind kind) {
    const CFileDialog& d = DialogFor(kind);
    // CSV files are looked for where the dialog was left, not in a working folder.
    const QString start = kind == EPathKind::Csv ? QString() : m_settings.Folder(d.folder);
    return QFileDialog::getOpenFileName(this, tr(d.openTitle), start, tr(d.filter)).toStdString();
}

std::string CMainWindow::ChooseSavePath(EPathKind kind, const std::string& name) {
    const CFileDialog& d = DialogFor(kind);
    const QString start = m_settings.Folder(d.folder);
    QDir().mkpath(start);
    const QString suggested = QDir(start).filePath(QString::fromStdString(name) + '.' + d.extension);
    QString path = QFileDialog::getSaveFileName(this, tr(d.saveTitle), suggested, tr(d.filter));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + d.extension;
    return path.toStdString();
}

void CMainWindow::FileUsed(const std::string& path) {
    m_settings.AddRecentFile(QFileInfo(QString::fromStdString(path)).absoluteFilePath());
    UpdateRecentMenu();
}

void CMainWindow::ShowExportSuccess(const std::string& runtimePath, const CRuntimeExportInfo& info) {
    const QString path = QString::fromStdString(runtimePath);
    const QString manifest = QFileInfo(path).dir().filePath(QString::fromStdString(info.manifestFileName));
    const std::string report = ReportRuntimeExport(m_doc.System(), runtimePath).Text();
    CdlgExportSuccess dlg(this, path, manifest, QString::fromStdString(info.projectName),
                          QString::fromStdString(report));
    dlg.exec();
}

std::optional<std::string> CMainWindow::VerifyRuntimeEquivalence(CSystem& system) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string text = VerifyRuntime(system, {}).Text();
    QApplication::restoreOverrideCursor();
    return text;
}

void CMainWindow::ShowReport(const std::string& title, const std::string& text) {
    QDialog dlg(this);
    dlg.setWindowTitle(QString::fromStdString(title));
    auto* view = new QPlainTextEdit(QString::fromStdString(text), &dlg);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dlg);
    connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dlg);
    layout->addWidget(view);
    layout->addWidget(buttons);
    dlg.resize(720, 420);
    dlg.exec();
}

bool CMainWindow::OpenProject(const QString& path, bool fromFramework) {
    CCommandContext ctx = Context();
    const ECmd r = OpenProjectFile(ctx, path.toStdString(), fromFramework);
    AfterCommand();
    return r == ECmd::Done;
}

bool CMainWindow::OpenFromCommandLine(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        m_prompter.Warn(
            tr("Cannot open %1: there is no such file.").arg(QDir::toNativeSeparators(path)).toStdString());
        return false;
    }
    return OpenProject(path, true);
}

bool CMainWindow::SaveProjectTo(const QString& path) {
    CCommandContext ctx = Context();
    const ECmd r = zor2::SaveProjectTo(ctx, path.toStdString());
    AfterCommand();
    return r == ECmd::Done;
}

bool CMainWindow::ExportRuntimeTo(const QString& path, bool showDialog) {
    CCommandContext ctx = Context();
    const ECmd r = zor2::ExportRuntimeTo(ctx, path.toStdString(), showDialog);
    AfterCommand();
    return r == ECmd::Done;
}

void CMainWindow::UpdateRecentMenu() {
    if (!m_recentMenu) return;
    m_recentMenu->clear();
    int n = 1;
    for (const QString& path : m_settings.RecentFiles()) {
        QAction* a =
            m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(QDir::toNativeSeparators(path)));
        connect(a, &QAction::triggered, this, [this, path] { OpenProject(path, true); });
    }
    m_recentMenu->setEnabled(!m_recentMenu->isEmpty());
}

}  // namespace zor2::gui
