// CQtSoundPlayer: the designer's player of Sim Action Sound wave files, built on
// Qt Multimedia when the build has it and silent (every play reports the lack)
// when it does not.
#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <memory>

#include "simulation/sim_sounds.h"

class QSoundEffect;

namespace zor2::gui {

class CQtSoundPlayer final : public QObject, public ISimSounds {
  public:
    explicit CQtSoundPlayer(QObject* parent = nullptr);
    ~CQtSoundPlayer() override;

    CSoundResult OpenSound(const CNetworkModel& component, const std::string& path) override;
    CSoundResult PlaySound(const CNetworkModel& component, const std::string& path) override;
    void StopSound(CNetworkModel& component) override;
    void CloseSound(const CNetworkModel& component) override;
    void CloseAll() override;
    void PlayFile(const std::string& path) override;
    void Beep() override;

    /// Whether this build plays sounds at all.
    static bool Available();
    /// Number of sounds open (for tests).
    size_t OpenCount() const { return m_sounds.size(); }

  private:
    struct CSound {
        QString path;
        std::unique_ptr<QSoundEffect> effect;
    };
    CSoundResult Open(uint64_t key, const std::string& path);

    std::map<uint64_t, CSound> m_sounds;   // by SoundKey
    std::unique_ptr<QSoundEffect> m_test;  // the dialog's "Test Sound"
};

}  // namespace zor2::gui
