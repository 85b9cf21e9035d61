// The game heard through waveOut (winmm, a system DLL): a few short buffers the mixer refills on a thread of their own.
#include "platform/win32/wave_out.h"

#include <cstdio>

#include "sound/synth.h"

namespace krello {
namespace {

void saySilent(const char* what, MMRESULT result) {
    char text[MAXERRORLENGTH] = "";
    if (waveOutGetErrorTextA(result, text, sizeof text) != MMSYSERR_NOERROR) text[0] = '\0';
    std::fprintf(stderr, "krello: no sound: %s failed (%u%s%s)\n", what, static_cast<unsigned>(result),
                 text[0] != '\0' ? ": " : "", text);
}

}  // namespace

WaveOutAudio::WaveOutAudio(sound::Mixer* mixer) : mixer_(mixer) {
    if (mixer_ == nullptr) return;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = sound::Mixer::CHANNELS;
    format.nSamplesPerSec = sound::SAMPLE_RATE;
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    bufferDone_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (bufferDone_ == nullptr) {
        std::fprintf(stderr, "krello: no sound: cannot create an event (%lu)\n", GetLastError());
        return;
    }
    // waveOut converts 22,050 Hz to the device's rate itself (through the system's mapper).
    const MMRESULT opened = waveOutOpen(&device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(bufferDone_), 0,
                                        CALLBACK_EVENT);
    if (opened != MMSYSERR_NOERROR) {
        device_ = nullptr;
        saySilent("waveOutOpen", opened);
        close();
        return;
    }
    for (int i = 0; i < BUFFERS; ++i) {
        WAVEHDR& h = headers_[static_cast<size_t>(i)];
        h.lpData = reinterpret_cast<LPSTR>(samples_[static_cast<size_t>(i)].data());
        h.dwBufferLength = static_cast<DWORD>(sizeof samples_[0]);
        if (const MMRESULT r = waveOutPrepareHeader(device_, &h, sizeof h); r != MMSYSERR_NOERROR) {
            saySilent("waveOutPrepareHeader", r);
            close();
            return;
        }
    }
    for (WAVEHDR& h : headers_) refill(h);
    thread_ = CreateThread(nullptr, 0, &WaveOutAudio::refillLoop, this, 0, nullptr);
    if (thread_ == nullptr) {
        std::fprintf(stderr, "krello: no sound: cannot start the sound thread (%lu)\n", GetLastError());
        close();
    }
}

WaveOutAudio::~WaveOutAudio() { close(); }

void WaveOutAudio::refill(WAVEHDR& header) {
    mixer_->render(reinterpret_cast<int16_t*>(header.lpData), BUFFER_FRAMES);
    waveOutWrite(device_, &header, sizeof header);
}

DWORD WINAPI WaveOutAudio::refillLoop(void* self) {
    auto& audio = *static_cast<WaveOutAudio*>(self);
    while (!audio.stopping_.load()) {
        WaitForSingleObject(audio.bufferDone_, 100);
        if (audio.stopping_.load()) break;
        for (WAVEHDR& h : audio.headers_)
            if ((h.dwFlags & WHDR_DONE) != 0) audio.refill(h);
    }
    return 0;
}

void WaveOutAudio::close() {
    stopping_.store(true);
    if (thread_ != nullptr) {
        SetEvent(bufferDone_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    if (device_ != nullptr) {
        waveOutReset(device_);  // every buffer handed back, marked done
        for (WAVEHDR& h : headers_)
            if ((h.dwFlags & WHDR_PREPARED) != 0) waveOutUnprepareHeader(device_, &h, sizeof h);
        waveOutClose(device_);
        device_ = nullptr;
    }
    if (bufferDone_ != nullptr) {
        CloseHandle(bufferDone_);
        bufferDone_ = nullptr;
    }
}

}  // namespace krello
