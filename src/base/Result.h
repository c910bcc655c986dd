#pragma once
// How errors come back in this program: two ways, no more.
//
//  - Whatever reads outside data (a picture, an INI or theme file, a recipe, a
//    collection) or writes a file returns Result<T>: the value, or an Error that
//    says in words a user can be shown what went wrong, with the errno where the
//    system gave one. The caller decides whether to show it, log it or go on.
//  - A lookup whose absence is ordinary (a key not in a profile, an item not in a
//    collection, a name that does not parse as a number) returns std::optional<T>:
//    absence is not an error and carries no message.
//
// A broken promise of a caller is an assert. Our code throws no exceptions;
// std::bad_alloc is left to end the program.

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace vomra {

struct Error {
    std::string message; // UTF-8, ready to be shown
    int code = 0;        // errno where there was one, else 0
};

// Marks a failure where a Result is returned: `return fail("...")`.
inline Error fail(std::string message, int code = 0)
{
    return Error{std::move(message), code};
}

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T &value() &
    {
        assert(ok());
        return std::get<0>(state_);
    }
    const T &value() const &
    {
        assert(ok());
        return std::get<0>(state_);
    }
    T &&value() &&
    {
        assert(ok());
        return std::get<0>(std::move(state_));
    }
    T &operator*() & { return value(); }
    const T &operator*() const & { return value(); }
    T &&operator*() && { return std::move(*this).value(); }
    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }

    // The value, or the fallback where a failure needs no more than a default.
    T value_or(T fallback) const & { return ok() ? std::get<0>(state_) : std::move(fallback); }
    T value_or(T fallback) && { return ok() ? std::get<0>(std::move(state_)) : std::move(fallback); }

    const Error &error() const
    {
        assert(!ok());
        return std::get<1>(state_);
    }
    // The message, empty on success: for callers that only pass it on.
    std::string message() const { return ok() ? std::string() : error().message; }

    // Equal to a value when it succeeded with that value.
    friend bool operator==(const Result &r, const T &v) { return r.ok() && std::get<0>(r.state_) == v; }

private:
    std::variant<T, Error> state_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), ok_(false) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const Error &error() const
    {
        assert(!ok_);
        return error_;
    }
    std::string message() const { return ok_ ? std::string() : error_.message; }

private:
    Error error_;
    bool ok_ = true;
};

} // namespace vomra
