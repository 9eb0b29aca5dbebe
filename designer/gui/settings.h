// Per-user designer settings: display options, the simulation rate, the
// welcome flag and the three working folders, kept in QSettings under the
// application "zor21", section "General".
#pragma once

#include <QString>

namespace zor2::gui {

/// Names and defaults of the integer settings.
struct CIntSetting {
    const char* name;
    int defaultValue;
};
inline constexpr CIntSetting kConnectorType{"ConnectorType", 2};
inline constexpr CIntSetting kCyclesPerSecond{"CyclesPerSecond", 10};
inline constexpr CIntSetting kGridWidth{"GridWidth", 16};
inline constexpr CIntSetting kShowGrid{"ShowGrid", 1};
inline constexpr CIntSetting kShowModuleValues{"ShowModuleValues", 1};
inline constexpr CIntSetting kShowWelcome{"ShowWelcome", 1};

enum class EFolder { Projects, Modules, Runtime };

class CDesignerSettings {
  public:
    /// The maker key under which the application key lives.
    static constexpr const char* kOrganization = "Corvel";
    static constexpr const char* kApplication = "zor21";

    int ReadInt(const CIntSetting& setting) const;
    void WriteInt(const CIntSetting& setting, int value);
    /// The stored folder; on first request the default (documents folder,
    /// "ZOR2", then the folder's name) is stored and returned. A stored value
    /// is returned unchanged even when the folder does not exist.
    QString Folder(EFolder folder);
    void SetFolder(EFolder folder, const QString& path);
    /// The default of a folder setting.
    static QString DefaultFolder(EFolder folder);
    static const char* FolderValueName(EFolder folder);
    /// The folder that holds the settings file (the autosave's place too).
    static QString UserFolder();
    /// Recent project files, newest first, at most four.
    QStringList RecentFiles() const;
    void AddRecentFile(const QString& path);
};

}  // namespace zor2::gui
