// One move-only owner for every kind of Win32 handle.
//
// A handle kind is described by a traits type with `invalid()` (the value that means
// "nothing owned"), `is_valid(h)` and `close(h)`. CreateFileW returns
// INVALID_HANDLE_VALUE on failure while CreateEventW returns NULL, so validity is a
// function of the kind, not a comparison with one constant.
#pragma once

#include <windows.h>

#include <utility>

namespace win32 {

template <typename Traits>
class unique_any {
public:
    using pointer = typename Traits::type;

    unique_any() noexcept = default;
    explicit unique_any(pointer value) noexcept : value_(value) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    pointer get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Traits::is_valid(value_); }

    // Closes what is owned and takes ownership of `value`.
    void reset(pointer value = Traits::invalid()) noexcept {
        if (Traits::is_valid(value_)) Traits::close(value_);
        value_ = value;
    }
    // Gives up ownership without closing.
    [[nodiscard]] pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }
    // Resets first, so an out-parameter can never leak a previous handle.
    pointer* put() noexcept {
        reset();
        return &value_;
    }

private:
    pointer value_ = Traits::invalid();
};

template <typename T, auto CloseFn, auto Invalid>
struct handle_traits {
    using type = T;
    static type invalid() noexcept { return reinterpret_cast<type>(static_cast<INT_PTR>(Invalid)); }
    static bool is_valid(type h) noexcept { return h != invalid(); }
    static void close(type h) noexcept { CloseFn(h); }
};

// Kernel objects that signal failure with NULL: events, mutexes, threads, processes.
using unique_handle = unique_any<handle_traits<HANDLE, ::CloseHandle, 0>>;
// Files and pipes: CreateFileW/CreateNamedPipeW fail with INVALID_HANDLE_VALUE.
using unique_file = unique_any<handle_traits<HANDLE, ::CloseHandle, -1>>;
// FindFirstFileW enumeration.
using unique_find = unique_any<handle_traits<HANDLE, ::FindClose, -1>>;
// Loaded modules (LoadLibraryW).
using unique_hmodule = unique_any<handle_traits<HMODULE, ::FreeLibrary, 0>>;
// Registry keys.
using unique_hkey = unique_any<handle_traits<HKEY, ::RegCloseKey, 0>>;

}  // namespace win32
