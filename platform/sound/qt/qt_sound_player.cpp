#include "platform/sound/qt/qt_sound_player.h"

#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QString>

#include "resources/qt_resources.h"

namespace tetrakon::sound {

namespace {

// Resources live at ":/<type in lower case>/<name>", as ":/wave/BOUNCE".
QString ResourcePath(std::string_view name, std::string_view type) {
    const QString typeFolder =
        QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size())).toLower();
    return QStringLiteral(":/") + typeFolder + QLatin1Char('/') +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

QtSoundClip::QtSoundClip(const QUrl& source, const QAudioDevice& device) {
    for (std::size_t i = 0; i < kVoices; ++i) {
        auto voice = std::make_unique<QSoundEffect>(device);
        // Every voice shares the one decoded sample that Qt caches per source.
        voice->setSource(source);
        voices_.push_back(std::move(voice));
    }
}

QtSoundClip::~QtSoundClip() = default;

Result QtSoundClip::PlayClip(std::uint32_t playFlags) {
    if (voices_.front()->status() == QSoundEffect::Error) {
        return DMUS_E_NOT_INIT;
    }
    if ((playFlags & kPlaySecondary) == 0) {
        for (auto& voice : voices_) {
            voice->stop();
        }
    }
    QSoundEffect& voice = *voices_[nextVoice_];
    nextVoice_ = (nextVoice_ + 1) % voices_.size();
    // The voice taken was started four repeats ago and has long ended; stopping it first
    // makes the start a fresh one in any case.
    voice.stop();
    voice.play();
    return S_OK;
}

Result QtSoundPlayer::InitSound() {
    device_ = QMediaDevices::defaultAudioOutput();
    initialised_ = !device_.isNull();
    return initialised_ ? S_OK : E_FAIL;
}

Result QtSoundPlayer::CreateClipFromResource(std::string_view name, std::string_view type,
                                             std::unique_ptr<SoundClip>* clip) {
    clip->reset();
    if (!initialised_) {
        return DMUS_E_NOT_INIT;
    }
    LoadQtResources();
    const QString path = ResourcePath(name, type);
    if (!QFile::exists(path)) {
        return E_FAIL;
    }
    *clip = std::make_unique<QtSoundClip>(QUrl(QStringLiteral("qrc") + path), device_);
    return S_OK;
}

}  // namespace tetrakon::sound
