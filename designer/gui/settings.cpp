// QSettings storage of the designer settings.
#include "designer/gui/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace zor2::gui {
namespace {

constexpr int kRecentCount = 4;

QSettings Store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, CDesignerSettings::kOrganization,
                     CDesignerSettings::kApplication);
}

QString Key(const char* name) {
    return QStringLiteral("General/") + QLatin1String(name);
}

}  // namespace

int CDesignerSettings::ReadInt(const CIntSetting& setting) const {
    bool ok = false;
    const int v = Store().value(Key(setting.name), setting.defaultValue).toInt(&ok);
    return ok ? v : setting.defaultValue;
}

void CDesignerSettings::WriteInt(const CIntSetting& setting, int value) {
    QSettings s = Store();
    s.setValue(Key(setting.name), value);
}

const char* CDesignerSettings::FolderValueName(EFolder folder) {
    switch (folder) {
        case EFolder::Projects:
            return "DirProjects";
        case EFolder::Modules:
            return "DirModules";
        case EFolder::Runtime:
            return "DirRuntime";
    }
    return "DirProjects";
}

QString CDesignerSettings::DefaultFolder(EFolder folder) {
    static const char* const leaf[] = {"Projects", "Custom Modules", "Runtime Files"};
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) docs = QDir::homePath();
    return QDir(docs).filePath(QStringLiteral("ZOR2/") + QLatin1String(leaf[static_cast<int>(folder)]));
}

QString CDesignerSettings::Folder(EFolder folder) {
    QSettings s = Store();
    const QString key = Key(FolderValueName(folder));
    if (s.contains(key)) return s.value(key).toString();
    const QString path = DefaultFolder(folder);
    s.setValue(key, path);
    return path;
}

void CDesignerSettings::SetFolder(EFolder folder, const QString& path) {
    QSettings s = Store();
    s.setValue(Key(FolderValueName(folder)), path);
}

QString CDesignerSettings::UserFolder() {
    return QFileInfo(Store().fileName()).absolutePath();
}

QStringList CDesignerSettings::RecentFiles() const {
    QStringList list = Store().value(QStringLiteral("Recent/Files")).toStringList();
    while (list.size() > kRecentCount) list.removeLast();
    return list;
}

void CDesignerSettings::AddRecentFile(const QString& path) {
    QSettings s = Store();
    QStringList list = s.value(QStringLiteral("Recent/Files")).toStringList();
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > kRecentCount) list.removeLast();
    s.setValue(QStringLiteral("Recent/Files"), list);
}

}  // namespace zor2::gui
