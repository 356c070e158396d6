// Sound for the SDL host: WAV files from the current directory played
// asynchronously through one SDL audio device, one at a time. A new sound
// cuts off the playing one at once (the device buffer is small). The device
// is opened once (ahead of time or at the first sound) and kept; each file is converted once to the
// device's format and kept while the file is unchanged. Without a working
// audio device the game is silent, with one line on standard error.
#pragma once

#include <SDL2/SDL.h>

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class SoundPlayer {
public:
    // Frames per device buffer: short enough that a cut-off is heard at once.
    static constexpr int BUFFER_FRAMES = 512;

    SoundPlayer() = default;
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer &) = delete;
    SoundPlayer &operator=(const SoundPlayer &) = delete;

    // Starts `fileName`, cutting off what plays. Returns false (and changes
    // nothing) when the file is missing or cannot be played, or there is no
    // audio device.
    bool Play(const char *fileName);
    // Opens the device ahead of the first sound, so that sound does not wait
    // for it. False when there is no working device.
    bool Prepare() { return Open(); }
    // Stops the device and frees it; the player stays silent afterwards.
    void Close();

    enum class State { NotOpened, Open, Unavailable };
    State GetState() const { return m_state; }
    // How many files have been read and converted so far.
    int Conversions() const { return m_nConversions; }
    // True while a sound is being played out.
    bool IsPlaying();
    // True once the audio thread has gone to sleep after the last sound.
    bool IsAsleep();

private:
    struct Clip {
        std::vector<std::uint8_t> bytes; // in the device's format
    };
    struct CacheEntry {
        std::int64_t mtimeNs = 0;
        std::int64_t size = -1;
        std::shared_ptr<const Clip> clip; // null: not playable
    };

    bool Open();
    std::shared_ptr<const Clip> Load(const std::string &path);
    static void SDLCALL Callback(void *self, Uint8 *stream, int len);
    void Fill(Uint8 *stream, int len);

    State m_state = State::NotOpened;
    SDL_AudioDeviceID m_dev = 0;
    SDL_AudioSpec m_spec{};
    bool m_bInitedSubsystem = false;
    std::map<std::string, CacheEntry> m_cache;
    int m_nConversions = 0;

    // Shared with the audio thread.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::shared_ptr<const Clip> m_playing;
    std::size_t m_nPos = 0;
    int m_nSilentBuffers = 0;
    bool m_bAsleep = false;
    bool m_bShutdown = false;
};
