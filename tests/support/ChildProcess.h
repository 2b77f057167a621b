#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Runs a piece of a test in a forked child, so that a hang, a crash or an
// allocation the machine cannot give stays out of the test process.
//
// Only a process that runs one thread is forked. A child gets the memory of
// every thread but only the thread that forked: the locks the others held
// stay locked, and a thread pool counts idle threads that are not there and
// hands them work that is never done (Qt's pool left from an earlier test of
// the same process made a child wait for ever in QImage::convertTo). So the
// helper threads a test process keeps are ended first, by the preparations
// below, and a process that still runs more than one thread is not forked.

// Sanitizers reserve terabytes of address space: under them no cap can be set.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

struct ChildOutcome {
    bool finished = false;  // false: the child hung, crashed or threw
    int status = 0;         // as waitpid gave it
    std::string text;       // what the work returned
};

// Runs `work` in a child and hands back the text it returns. A watchdog ends
// the child after `seconds`; it only catches hangs, so it is generous. When
// the process cannot be brought down to one thread, nothing is forked: the
// outcome is not finished and standard error says why.
ChildOutcome runInChild(const std::function<std::string()>& work, unsigned seconds = 120);

// Adds a step that ends helper threads of the test process (idle pool
// threads that outlive the work that started them); runInChild takes every
// step before it forks. The Qt test main adds one for Qt's thread pool.
void addForkPreparation(std::function<void()> prepare);

// Caps the calling process's address space at what it maps now plus
// `headroom` bytes. Call it inside the child, after what the work needs
// before the part under test. Does nothing under a sanitizer (returns false).
bool capAddressSpace(uint64_t headroom);
