// RAII for COM: the apartment of a thread, one interface reference, and memory the
// shell hands out with CoTaskMemAlloc.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shtypes.h>

#include <memory>
#include <utility>

namespace win32 {

// Balances a successful CoInitialize on the calling thread, on every way out.
class com_apartment {
public:
    com_apartment() noexcept : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~com_apartment() { uninitialise(); }
    com_apartment(const com_apartment&) = delete;
    com_apartment& operator=(const com_apartment&) = delete;

    bool initialised() const noexcept { return initialised_; }
    // Leaves the apartment early (a fixed shut-down order); the end then does nothing.
    void uninitialise() noexcept {
        if (initialised_) CoUninitialize();
        initialised_ = false;
    }

private:
    bool initialised_;
};

// One reference to a COM interface, released at the end.
template <typename Interface>
class unique_com {
public:
    unique_com() noexcept = default;
    explicit unique_com(Interface* p) noexcept : p_(p) {}
    unique_com(const unique_com&) = delete;
    unique_com& operator=(const unique_com&) = delete;
    unique_com(unique_com&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    unique_com& operator=(unique_com&& other) noexcept {
        if (this != &other) reset(std::exchange(other.p_, nullptr));
        return *this;
    }
    ~unique_com() { reset(); }

    Interface* get() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset(Interface* p = nullptr) noexcept {
        if (p_) p_->Release();
        p_ = p;
    }

private:
    Interface* p_ = nullptr;
};

struct cotaskmem_freer {
    void operator()(void* memory) const noexcept { CoTaskMemFree(memory); }
};
// Memory from CoTaskMemAlloc (item identifier lists above all), freed with
// CoTaskMemFree.
template <typename T>
using unique_cotaskmem = std::unique_ptr<T, cotaskmem_freer>;
// An absolute item identifier list, as SHBrowseForFolderW and
// SHGetSpecialFolderLocation return.
using unique_pidl = unique_cotaskmem<ITEMIDLIST_ABSOLUTE>;

}  // namespace win32
