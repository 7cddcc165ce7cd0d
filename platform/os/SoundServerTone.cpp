#include "platform/os/SoundServerTone.h"

#include <dlfcn.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/os/SoundServerLibrary.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kRate = 44100;
constexpr int16_t kLevel = 6000;  // a fifth of full scale: heard, not startling
constexpr uint32_t kLatencyMs = 20;
// The library's first loading, connecting and the server's playback latency, beyond the tone.
constexpr std::chrono::milliseconds kMargin{100};

// The real library, loaded once for the run.
const SoundServerLibrary* LoadPulse() {
    static SoundServerLibrary pulse;
    static bool loaded = false;
    static std::once_flag once;
    std::call_once(once, [] {
        void* library = ::dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return;
        }
        bool all = true;
#define BRENVO_PULSE_LOAD(name)                                                \
    pulse.name = reinterpret_cast<decltype(&::name)>(::dlsym(library, #name)); \
    all = all && pulse.name != nullptr;
        BRENVO_PULSE_FUNCTIONS(BRENVO_PULSE_LOAD)
#undef BRENVO_PULSE_LOAD
        loaded = all;
    });
    return loaded ? &pulse : nullptr;
}

// The library's loading, on a thread of its own, so that a beep waits for it no longer than its
// time bound: a first beep whose library is not there in time is not played, and a later one uses
// it. Never destroyed: the loading may end after the process began to.
struct LibraryLoading {
    std::mutex mutex;
    std::condition_variable finished;
    SoundServerLibraryLoader loader = &LoadPulse;
    unsigned generation = 0;  // a loading for a loader that was replaced meanwhile is dropped
    bool started = false;
    bool done = false;
    const SoundServerLibrary* library = nullptr;
};

LibraryLoading& Loading() {
    static LibraryLoading* loading = new LibraryLoading;
    return *loading;
}

// The library, or null when it is missing or not loaded by `deadline`.
const SoundServerLibrary* AwaitLibrary(Clock::time_point deadline) {
    LibraryLoading& loading = Loading();
    std::unique_lock<std::mutex> lock(loading.mutex);
    if (!loading.started) {
        try {
            std::thread([&loading, generation = loading.generation, loader = loading.loader] {
                const SoundServerLibrary* library = loader();
                std::lock_guard<std::mutex> lock(loading.mutex);
                if (generation == loading.generation) {
                    loading.library = library;
                    loading.done = true;
                    loading.finished.notify_all();
                }
            }).detach();
            loading.started = true;
        } catch (const std::system_error&) {
            return nullptr;  // no thread now: the next beep tries again
        }
    }
    loading.finished.wait_until(lock, deadline, [&loading] { return loading.done; });
    return loading.done ? loading.library : nullptr;
}

// A square wave, as a PC speaker makes it: its overtones carry a low tone to small speakers.
std::vector<int16_t> SquareWave(DWORD frequency, DWORD durationMs) {
    std::vector<int16_t> samples(static_cast<size_t>(kRate) * durationMs / 1000);
    const double halfPeriod = kRate / (2.0 * frequency);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] =
            static_cast<uint64_t>(static_cast<double>(i) / halfPeriod) % 2 ? -kLevel : kLevel;
    }
    return samples;
}

// One connection to the server, on a main loop run in this thread against one deadline.
class Session {
public:
    Session(const SoundServerLibrary& pa, Clock::time_point deadline)
        : m_pa(pa), m_deadline(deadline), m_loop(pa.pa_mainloop_new()) {}
    ~Session() {
        if (m_stream != nullptr) {
            m_pa.pa_stream_disconnect(m_stream);
            m_pa.pa_stream_unref(m_stream);
        }
        if (m_context != nullptr) {
            m_pa.pa_context_disconnect(m_context);
            m_pa.pa_context_unref(m_context);
        }
        if (m_loop != nullptr) {
            m_pa.pa_mainloop_free(m_loop);
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool Play(DWORD frequency, DWORD durationMs) {
        if (m_loop == nullptr) {
            return false;
        }
        m_context = m_pa.pa_context_new(m_pa.pa_mainloop_get_api(m_loop), "Brenvo");
        if (m_context == nullptr ||
            m_pa.pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            return false;
        }
        pa_context_state_t context = PA_CONTEXT_UNCONNECTED;
        const bool settled = RunUntil([&] {
            context = m_pa.pa_context_get_state(m_context);
            return context == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(context);
        });
        if (!settled || context != PA_CONTEXT_READY) {
            return false;
        }
        const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};  // the library's record
        // A short latency, so that the tone is played out within the deadline: at the server's
        // default (up to seconds) the deadline would cut it off before a sound is made.
        pa_buffer_attr buffer{};
        buffer.maxlength = buffer.prebuf = buffer.minreq = buffer.fragsize = UINT32_MAX;
        buffer.tlength = kRate * sizeof(int16_t) * kLatencyMs / 1000;
        m_stream = m_pa.pa_stream_new(m_context, "Beep", &format, nullptr);
        if (m_stream == nullptr ||
            m_pa.pa_stream_connect_playback(m_stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY,
                                            nullptr, nullptr) < 0) {
            return false;
        }
        pa_stream_state_t stream = PA_STREAM_UNCONNECTED;
        const bool ready = RunUntil([&] {
            stream = m_pa.pa_stream_get_state(m_stream);
            return stream == PA_STREAM_READY || !PA_STREAM_IS_GOOD(stream);
        });
        if (!ready || stream != PA_STREAM_READY) {
            return false;
        }
        const std::vector<int16_t> samples = SquareWave(frequency, durationMs);
        if (m_pa.pa_stream_write(m_stream, samples.data(), samples.size() * sizeof samples[0],
                                 nullptr, 0, PA_SEEK_RELATIVE) < 0) {
            return false;
        }
        // Played once the server says that the stream has drained. A tone cut off at the deadline,
        // or held by an output that is suspended or slow to wake, was not heard as a beep: the
        // bells are tried instead.
        Drain drain;
        pa_operation* operation = m_pa.pa_stream_drain(m_stream, &Drain::Done, &drain);
        if (operation == nullptr) {
            return false;
        }
        RunUntil([&] { return drain.answered; });
        m_pa.pa_operation_cancel(operation);
        m_pa.pa_operation_unref(operation);
        return drain.answered && drain.played;
    }

private:
    struct Drain {
        bool answered = false;
        bool played = false;
        static void Done(pa_stream*, int success, void* self) {
            static_cast<Drain*>(self)->answered = true;
            static_cast<Drain*>(self)->played = success != 0;
        }
    };

    // Runs the loop until `done` holds; false when the deadline passes first or the loop fails.
    template <class Done>
    bool RunUntil(Done done) {
        while (!done()) {
            const auto left =
                std::chrono::duration_cast<std::chrono::microseconds>(m_deadline - Clock::now());
            if (left.count() <= 0 ||
                m_pa.pa_mainloop_prepare(m_loop, static_cast<int>(left.count())) < 0 ||
                m_pa.pa_mainloop_poll(m_loop) < 0 || m_pa.pa_mainloop_dispatch(m_loop) < 0) {
                return false;
            }
        }
        return true;
    }

    const SoundServerLibrary& m_pa;
    const Clock::time_point m_deadline;
    pa_mainloop* m_loop;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
};

}  // namespace

bool PlaySoundServerTone(DWORD frequency, DWORD durationMs) {
    if (frequency == 0 || durationMs == 0) {
        return false;
    }
    // One deadline for the whole tone, the library's first loading included.
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(durationMs) + kMargin;
    const SoundServerLibrary* pa = AwaitLibrary(deadline);
    if (pa == nullptr) {
        return false;
    }
    Session session(*pa, deadline);
    return session.Play(frequency, durationMs);
}

void SetSoundServerLibraryLoaderForTesting(SoundServerLibraryLoader loader) {
    LibraryLoading& loading = Loading();
    std::lock_guard<std::mutex> lock(loading.mutex);
    ++loading.generation;
    loading.loader = loader != nullptr ? loader : &LoadPulse;
    loading.started = false;
    loading.done = false;
    loading.library = nullptr;
}
