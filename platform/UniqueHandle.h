// Owns one platform handle and releases it on every path. `Traits` says what
// an empty handle is, which values are valid and how one is released.
#pragma once

#include <utility>

namespace tv {

template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }
    void Reset(Handle handle = Traits::Empty()) {
        if (Traits::IsValid(handle_) && handle_ != handle) Traits::Close(handle_);
        handle_ = handle;
    }
    // Gives up ownership, for calls that take the handle over.
    Handle Release() { return std::exchange(handle_, Traits::Empty()); }

private:
    Handle handle_ = Traits::Empty();
};

}  // namespace tv
