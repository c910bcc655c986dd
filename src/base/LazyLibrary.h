#pragma once
// The one way this program loads a library late: a shared library that only
// some work needs (libX11 and libXtst for sending, ICU for character widths,
// fontconfig when the font cache cannot answer) is opened by its soname on
// first use, not at start. Every library an executable names is mapped and
// relocated before main() runs, each with the libraries it names in turn;
// for vomra-cli that was most of the start-up of a short command (art took
// longer than 2.5 times figlet with them all linked).
//
// A LazyCall named like the library's function, declared in our namespace,
// hides the global declaration from unqualified calls there, so the code
// using it reads as ordinary calls. Each user says what it does when the
// library is missing (available() false); a call whose symbol cannot be found
// in a library that is there ends the process with a message.
//
// The libraries are named in the Debian package's dependencies by hand
// (cmake/Install.cmake): no executable names them, so the package tools
// cannot find them.

#include <atomic>
#include <mutex>

namespace vomra {

// Safe to use from several threads.
class LazyLibrary {
public:
    explicit constexpr LazyLibrary(const char *soname) : m_soname(soname) {}
    LazyLibrary(const LazyLibrary &) = delete;
    LazyLibrary &operator=(const LazyLibrary &) = delete;

    // Opens the library on first use; false when it cannot be.
    bool available();
    // `name` in the library; null when the library or the symbol is missing.
    void *symbol(const char *name);
    // As symbol(), but a missing symbol ends the process.
    void *require(const char *name);

private:
    const char *m_soname;
    std::once_flag m_once;
    void *m_handle = nullptr;
};

template <typename Fn> class LazyCall;

template <typename R, typename... A> class LazyCall<R (*)(A...)> {
public:
    using Pointer = R (*)(A...);
    constexpr LazyCall(LazyLibrary &library, const char *name) : m_library(library), m_name(name) {}

    R operator()(A... args) const
    {
        Pointer fn = m_fn.load(std::memory_order_relaxed);
        if (!fn) {
            fn = reinterpret_cast<Pointer>(m_library.require(m_name));
            m_fn.store(fn, std::memory_order_relaxed);
        }
        return fn(args...);
    }

private:
    LazyLibrary &m_library;
    const char *m_name;
    mutable std::atomic<Pointer> m_fn = nullptr;
};

} // namespace vomra

// The name a symbol has after the headers' macros (ICU appends its version).
#define VOMRA_SYMBOL_NAME(name) VOMRA_SYMBOL_NAME_(name)
#define VOMRA_SYMBOL_NAME_(name) #name
