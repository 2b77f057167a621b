#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Runs a piece of a test in a forked child, so that a hang, a crash or an
// allocation the machine cannot give stays out of the test process.

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
// the child after `seconds`; it only catches hangs, so it is generous.
ChildOutcome runInChild(const std::function<std::string()>& work, unsigned seconds = 120);

// Caps the calling process's address space at what it maps now plus
// `headroom` bytes. Call it inside the child, after what the work needs
// before the part under test. Does nothing under a sanitizer (returns false).
bool capAddressSpace(uint64_t headroom);
