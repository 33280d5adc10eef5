// Owns one platform handle and releases it on every path. `Traits` says what
// an empty handle is, which values are valid and how one is released; a
// traits object with state (the seam a handle came from) moves with it.
#pragma once

#include <utility>

namespace tv {

template <typename Handle, typename Traits>
class UniqueHandle : private Traits {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle, Traits traits = Traits())
        : Traits(traits), handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    // A moved-from owner is left as a default-made one.
    UniqueHandle(UniqueHandle&& other) noexcept
        : Traits(other.TakeTraits()), handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
            static_cast<Traits&>(*this) = other.TakeTraits();
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return handle_; }
    const Traits& GetTraits() const { return *this; }
    explicit operator bool() const { return Traits::IsValid(handle_); }
    void Reset(Handle handle = Traits::Empty()) {
        if (Traits::IsValid(handle_) && handle_ != handle) Traits::Close(handle_);
        handle_ = handle;
    }
    // The address to receive a new handle; whatever was held is released.
    Handle* Put() {
        Reset();
        return &handle_;
    }
    // Gives up ownership, for calls that take the handle over.
    Handle Release() { return std::exchange(handle_, Traits::Empty()); }

private:
    Traits TakeTraits() { return std::exchange(static_cast<Traits&>(*this), Traits()); }

    Handle handle_ = Traits::Empty();
};

// A handle of a portable seam: 0 is empty, and it is closed through the
// seam object it came from.
template <typename Seam, typename Handle, auto CloseCall>
struct SeamTraits {
    Seam* seam = nullptr;
    static Handle Empty() { return 0; }
    static bool IsValid(Handle handle) { return handle != 0; }
    void Close(Handle handle) const {
        if (seam) (seam->*CloseCall)(handle);
    }
};

template <typename Seam, typename Handle, auto CloseCall>
class SeamHandle : public UniqueHandle<Handle, SeamTraits<Seam, Handle, CloseCall>> {
public:
    SeamHandle() = default;
    SeamHandle(Seam& seam, Handle handle)
        : UniqueHandle<Handle, SeamTraits<Seam, Handle, CloseCall>>(handle, {&seam}) {}
    Seam* Owner() const { return this->GetTraits().seam; }
};

}  // namespace tv
