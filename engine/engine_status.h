#pragma once
// Status line writes of the engine. Transport operations run on the editor's
// thread and, when the audio block follows the host, on the audio thread;
// there a write must never wait, so the block marks its thread and writes
// made on it only try the status line's lock.

// Marks the calling thread as rendering an audio block for the scope's life.
class TesselAudioThreadScope {
public:
    TesselAudioThreadScope();
    ~TesselAudioThreadScope();
    TesselAudioThreadScope(const TesselAudioThreadScope&) = delete;
    TesselAudioThreadScope& operator=(const TesselAudioThreadScope&) = delete;

    static bool active();

private:
    bool previous_;
};

// The whole message, or nothing when the audio thread finds the line busy.
void engineStatus(const char* text);
void engineStatusFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
