#!/usr/bin/env python3
"""Writes the wave "BOUNCE": a ball bouncing three times, each bounce lower and quicker.

RIFF PCM, mono, 11025 samples per second, 16 bits, exactly 6712 samples (13424 bytes of
sample data). Everything audible ends before the last 0.15 s, because some players drop
the tail of a short sound.

    python3 tools/assets/bounce_wave.py resources/wave/BOUNCE.wav
"""
import math
import struct
import sys
import wave

RATE = 11025
SAMPLES = 6712
QUIET_TAIL = 0.15

# (start in seconds, length in seconds, start pitch in Hz, peak amplitude 0..1)
BOUNCES = [
    (0.000, 0.150, 720.0, 0.85),
    (0.170, 0.110, 800.0, 0.60),
    (0.295, 0.080, 880.0, 0.40),
]


def bounce_sample(t, length, pitch, peak, phase):
    """One bounce: a quick knock then a pitch that falls as the ball leaves the floor."""
    attack = min(1.0, t / 0.004)
    decay = math.exp(-5.0 * t / length)
    fade_out = min(1.0, (length - t) / 0.01)
    envelope = peak * attack * decay * max(0.0, fade_out)
    # The second harmonic gives the knock its body.
    return envelope * (math.sin(phase) + 0.3 * math.sin(2.0 * phase))


def make_samples():
    out = [0.0] * SAMPLES
    for start, length, pitch, peak in BOUNCES:
        first = int(round(start * RATE))
        phase = 0.0
        for i in range(int(length * RATE)):
            t = i / RATE
            freq = pitch * (1.0 - 0.35 * t / length)
            phase += 2.0 * math.pi * freq / RATE
            out[first + i] += bounce_sample(t, length, pitch, peak, phase)
    last_audible = max(start + length for start, length, _, _ in BOUNCES)
    assert last_audible <= SAMPLES / RATE - QUIET_TAIL, "sound runs into the quiet tail"
    return out


def main():
    path = sys.argv[1]
    frames = b"".join(
        struct.pack("<h", max(-32767, min(32767, int(round(v * 32767 / 1.3)))))
        for v in make_samples())
    assert len(frames) == 13424
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


if __name__ == "__main__":
    main()
