// The SDL host's sound player. The device callback copies the current clip
// and, once a few buffers of silence have followed the last sound, waits
// for the next one instead of running: an idle game has no audio wake-ups.
#include "platform/sdl/sdl_audio.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

namespace {

// alsa-lib reports a missing or failing device with a dozen lines of its own
// on standard error before SDL gives up on it. SDL already loaded the
// library; its reporter is replaced by a silent one, so a machine without
// sound gets the one line below and nothing more.
extern "C" void SilentAlsaError(const char *, int, const char *, int, const char *, ...) {}

void SilenceAlsa() {
    using Reporter = void (*)(const char *, int, const char *, int, const char *, ...);
    using SetReporter = int (*)(Reporter);
    static bool done = false;
    if (done)
        return;
    done = true;
    void *lib = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!lib)
        return;
    if (auto set = reinterpret_cast<SetReporter>(dlsym(lib, "snd_lib_error_set_handler")))
        set(&SilentAlsaError);
    dlclose(lib);
}

} // namespace

SoundPlayer::~SoundPlayer() {
    Close();
}

bool SoundPlayer::Open() {
    if (m_state == State::Open)
        return true;
    if (m_state == State::Unavailable)
        return false;
    m_state = State::Unavailable;
    SilenceAlsa();
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "quarzel: no sound: %s\n", SDL_GetError());
            return false;
        }
        m_bInitedSubsystem = true;
    }
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = BUFFER_FRAMES;
    want.callback = &SoundPlayer::Callback;
    want.userdata = this;
    // No changes allowed: SDL converts to the hardware itself if needed, and
    // the clips are kept in exactly this format.
    m_dev = SDL_OpenAudioDevice(nullptr, 0, &want, &m_spec, 0);
    if (m_dev == 0) {
        std::fprintf(stderr, "quarzel: no sound: %s\n", SDL_GetError());
        if (m_bInitedSubsystem)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_bInitedSubsystem = false;
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bShutdown = false;
        m_bAsleep = false;
        m_nSilentBuffers = 0;
    }
    SDL_PauseAudioDevice(m_dev, 0);
    m_state = State::Open;
    return true;
}

void SoundPlayer::Close() {
    if (m_dev != 0) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bShutdown = true;
            m_playing.reset();
        }
        m_wake.notify_all();
        SDL_CloseAudioDevice(m_dev);
        m_dev = 0;
    }
    if (m_bInitedSubsystem)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_bInitedSubsystem = false;
    if (m_state == State::Open)
        m_state = State::Unavailable;
    m_cache.clear();
}

std::shared_ptr<const SoundPlayer::Clip> SoundPlayer::Load(const std::string &path) {
    ++m_nConversions;
    SDL_AudioSpec wav{};
    Uint8 *buf = nullptr;
    Uint32 len = 0;
    if (!SDL_LoadWAV(path.c_str(), &wav, &buf, &len))
        return nullptr;
    if (len == 0) { // a file without samples: nothing to play (and no copy from an empty buffer)
        SDL_FreeWAV(buf);
        return nullptr;
    }
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, wav.format, wav.channels, wav.freq, m_spec.format, m_spec.channels,
                          m_spec.freq) < 0) {
        SDL_FreeWAV(buf);
        return nullptr;
    }
    auto clip = std::make_shared<Clip>();
    clip->bytes.resize(static_cast<size_t>(len) * (cvt.len_mult > 0 ? cvt.len_mult : 1));
    std::memcpy(clip->bytes.data(), buf, len);
    SDL_FreeWAV(buf);
    cvt.buf = clip->bytes.data();
    cvt.len = static_cast<int>(len);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0)
        return nullptr;
    clip->bytes.resize(cvt.needed ? static_cast<size_t>(cvt.len_cvt) : len);
    // Whole frames only.
    size_t frame = static_cast<size_t>(SDL_AUDIO_BITSIZE(m_spec.format) / 8) * m_spec.channels;
    clip->bytes.resize(clip->bytes.size() / frame * frame);
    return clip;
}

bool SoundPlayer::Play(const char *fileName) {
    if (!fileName || !*fileName)
        return false;
    struct stat st;
    if (::stat(fileName, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (!Open())
        return false;

    std::int64_t mtime =
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    std::int64_t size = static_cast<std::int64_t>(st.st_size);
    CacheEntry &entry = m_cache[fileName];
    if (entry.mtimeNs != mtime || entry.size != size) {
        entry.clip = Load(fileName);
        entry.mtimeNs = mtime;
        entry.size = size;
    }
    if (!entry.clip || entry.clip->bytes.empty())
        return false;

    std::shared_ptr<const Clip> old;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        old = std::move(m_playing); // freed here, not on the audio thread
        m_playing = entry.clip;
        m_nPos = 0;
        m_nSilentBuffers = 0;
    }
    m_wake.notify_all();
    return true;
}

bool SoundPlayer::IsPlaying() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_playing != nullptr;
}

bool SoundPlayer::IsAsleep() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bAsleep;
}

void SDLCALL SoundPlayer::Callback(void *self, Uint8 *stream, int len) {
    static_cast<SoundPlayer *>(self)->Fill(stream, len);
}

void SoundPlayer::Fill(Uint8 *stream, int len) {
    // After this many buffers of silence the last sound has surely left the
    // device; the thread then sleeps until the next sound or shutdown.
    constexpr int SILENCE_BEFORE_SLEEP = 4;
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_playing && m_nSilentBuffers >= SILENCE_BEFORE_SLEEP) {
        m_bAsleep = true;
        m_wake.wait(lock, [this] { return m_playing != nullptr || m_bShutdown; });
        m_bAsleep = false;
    }
    size_t n = static_cast<size_t>(len);
    size_t done = 0;
    if (m_playing) {
        size_t left = m_playing->bytes.size() - m_nPos;
        done = left < n ? left : n;
        std::memcpy(stream, m_playing->bytes.data() + m_nPos, done);
        m_nPos += done;
        // The cache still holds the clip, so dropping it here frees nothing
        // unless the file changed meanwhile.
        if (m_nPos >= m_playing->bytes.size())
            m_playing = nullptr;
        m_nSilentBuffers = 0;
    } else {
        ++m_nSilentBuffers;
    }
    if (done < n)
        std::memset(stream + done, m_spec.silence, n - done);
}
