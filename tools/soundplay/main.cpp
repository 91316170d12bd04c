// soundplay [count] [interval-ms]: starts the wave "BOUNCE" `count` times (3), one start
// every `interval-ms` (500) as secondary starts, then waits for the last one to end. Prints
// how long the sound set-up took and whether it succeeded.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/sound/qt/qt_sound_player.h"

using tetrakon::sound::kPlaySecondary;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 3;
    const int intervalMs = argc > 2 ? std::atoi(argv[2]) : 500;

    QElapsedTimer setUp;
    setUp.start();
    tetrakon::sound::QtSoundPlayer player;
    const auto initResult = player.InitSound();
    std::unique_ptr<tetrakon::sound::SoundClip> clip;
    const auto clipResult = player.CreateClipFromResource("BOUNCE", "WAVE", &clip);
    std::printf("set-up %lld ms, InitSound 0x%08x, clip 0x%08x\n",
                static_cast<long long>(setUp.elapsed()), static_cast<unsigned>(initResult),
                static_cast<unsigned>(clipResult));

    int played = 0;
    QTimer timer;
    const auto playNext = [&] {
        if (played == count) {
            timer.stop();
            QTimer::singleShot(1000, &app, &QCoreApplication::quit);
            return;
        }
        ++played;
        if (clip) {
            clip->PlayClip(kPlaySecondary);
        }
    };
    QObject::connect(&timer, &QTimer::timeout, playNext);
    // Give the asynchronous load of the wave a moment before the first start.
    QTimer::singleShot(300, [&] {
        timer.start(intervalMs);
        playNext();
    });
    return app.exec();
}
