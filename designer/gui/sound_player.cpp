// The wave player of the Sim Action Sound components: one sound effect per
// component, opened from a checked file, restarted from its beginning on play.
#include "designer/gui/sound_player.h"

#include <QApplication>
#include <QUrl>

#ifdef ZOR2_HAVE_MULTIMEDIA
#include <QSoundEffect>
#else
// Without Qt Multimedia nothing is ever made; the type only needs to be complete.
class QSoundEffect {};
#endif

namespace zor2::gui {

namespace {
#ifdef ZOR2_HAVE_MULTIMEDIA
std::unique_ptr<QSoundEffect> MakeEffect(const QString& path) {
    auto effect = std::make_unique<QSoundEffect>();
    effect->setSource(QUrl::fromLocalFile(path));
    return effect;
}
#endif
const CSoundResult kUnavailable{
    kSoundUnavailable, "Sound playback is not available: this designer was built without Qt Multimedia."};
}  // namespace

CQtSoundPlayer::CQtSoundPlayer(QObject* parent) : QObject(parent) {}

CQtSoundPlayer::~CQtSoundPlayer() {
    CloseAll();
}

bool CQtSoundPlayer::Available() {
#ifdef ZOR2_HAVE_MULTIMEDIA
    return true;
#else
    return false;
#endif
}

CSoundResult CQtSoundPlayer::Open(uint64_t key, const std::string& path) {
    m_sounds.erase(key);
    if (CSoundResult checked = CheckWaveFile(path); !checked.Ok()) return checked;
    if (!Available()) return kUnavailable;
    CSound sound;
    sound.path = QString::fromStdString(path);
#ifdef ZOR2_HAVE_MULTIMEDIA
    sound.effect = MakeEffect(sound.path);
#endif
    m_sounds.emplace(key, std::move(sound));
    return {};
}

CSoundResult CQtSoundPlayer::OpenSound(const CNetworkModel& c, const std::string& path) {
    return Open(SoundKey(c), path);
}

CSoundResult CQtSoundPlayer::PlaySound(const CNetworkModel& c, const std::string& path) {
    const uint64_t key = SoundKey(c);
    auto it = m_sounds.find(key);
    if (it == m_sounds.end() || it->second.path != QString::fromStdString(path)) {
        if (CSoundResult opened = Open(key, path); !opened.Ok()) return opened;
        it = m_sounds.find(key);
    }
#ifdef ZOR2_HAVE_MULTIMEDIA
    QSoundEffect& effect = *it->second.effect;
    if (effect.status() == QSoundEffect::Error)
        return {kSoundNotWave, "The wave file could not be decoded for playing."};
    // From the start, also while it still plays.
    effect.stop();
    effect.play();
#endif
    return {};
}

void CQtSoundPlayer::StopSound(CNetworkModel& c) {
#ifdef ZOR2_HAVE_MULTIMEDIA
    if (auto it = m_sounds.find(SoundKey(c)); it != m_sounds.end()) it->second.effect->stop();
#else
    (void)c;
#endif
}

void CQtSoundPlayer::CloseSound(const CNetworkModel& c) {
    m_sounds.erase(SoundKey(c));
}

void CQtSoundPlayer::CloseAll() {
    m_sounds.clear();
    m_test.reset();
}

void CQtSoundPlayer::PlayFile(const std::string& path) {
#ifdef ZOR2_HAVE_MULTIMEDIA
    m_test = MakeEffect(QString::fromStdString(path));
    m_test->play();
#else
    (void)path;
#endif
}

void CQtSoundPlayer::Beep() {
    QApplication::beep();
}

}  // namespace zor2::gui
