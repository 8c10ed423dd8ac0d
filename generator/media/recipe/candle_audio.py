#!/usr/bin/python3
"""Sound of the candle video: a quiet crackle, 4 s, stereo, 48 kHz, 16-bit WAV.

Soft hiss and a low flutter of the flame, with small crackles at random
moments. The hiss is made in the frequency domain and each crackle wraps
around the end, so the sound loops without a seam, like the picture.

usage: candle_audio.py OUT.wav
"""
import sys
import wave

import numpy as np

RATE = 48000
SECONDS = 4.0


def main(out):
    n = int(RATE * SECONDS)
    rng = np.random.default_rng(2412)
    t = np.arange(n) / RATE
    chans = []
    # crackles are shared by both channels, with a small level and time offset
    times = np.sort(rng.random(22)) * SECONDS
    levels = 0.05 + 0.20 * rng.random(22) ** 2
    pans = rng.random(22)
    for ch in range(2):
        # hiss: pink-ish noise shaped in the frequency domain (periodic by construction)
        spec = rng.normal(size=n // 2 + 1) + 1j * rng.normal(size=n // 2 + 1)
        f = np.fft.rfftfreq(n, 1 / RATE)
        shape = 1.0 / np.sqrt(np.maximum(f, 40.0)) * np.exp(-f / 9000.0)
        shape[f < 60] = 0
        hiss = np.fft.irfft(spec * shape, n)
        hiss *= 0.006 / np.std(hiss)
        # flutter: slow breathing of the flame, whole cycles per loop
        flutter = 1.0 + 0.35 * np.sin(2 * np.pi * 3 * t / SECONDS + ch) + 0.2 * np.sin(2 * np.pi * 7 * t / SECONDS)
        sig = hiss * flutter
        for tm, lv, pan in zip(times, levels, pans):
            g = lv * (pan if ch else 1 - pan) * 1.4 + 0.2 * lv
            start = int((tm + ch * 0.0004) * RATE)
            ln = int(RATE * (0.004 + 0.012 * rng.random()))
            k = np.arange(ln)
            burst = rng.normal(size=ln) * np.exp(-k / (ln / 5.0))
            # a little body: ring a damped resonance at a few kHz
            fr = 1800 + 2500 * rng.random()
            burst = burst + 0.8 * np.sin(2 * np.pi * fr * k / RATE) * np.exp(-k / (ln / 3.0))
            idx = (start + k) % n
            sig[idx] += g * burst * 0.25
        chans.append(sig)
    data = np.clip(np.stack(chans, axis=1), -1, 1)
    pcm = (data * 32767).astype("<i2")
    with wave.open(out, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


if __name__ == "__main__":
    main(sys.argv[1])
