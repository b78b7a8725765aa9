// How every format and codec reports a failure: a value that names the
// message, its arguments and where in the input the trouble stands. Only the
// operations layer turns it into text and shows it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace velk {

enum class MessageId : uint8_t {
    CannotRead,            // "%sが読み込めません": text = file name
    CannotWrite,           // "%sに書き込めませんでした": text = file name
    NoRoom,                // "容量が足りません"
    UnknownToken,          // "(%s)は使用できません": text = the token
    UnknownNameCharacter,  // "%sは使用できません%d %d": entry, first byte
    UnknownTextCharacter,  // "%sは使用できません%d %d %d %d": bytes, entry, offset
    TextTooLong,           // "テキスト%dが長すぎます": entry
    EntryIncomplete,       // "%d行目の指定が足りません": script line
    NumberOutOfRange,      // "%d行目の番号が範囲外です": script line
};

struct Problem {
    MessageId id;
    std::string text;              // the message's %s, raw bytes as the input held them
    std::vector<int64_t> numbers;  // its %d arguments, in order
    size_t offset = 0;             // where the offending bytes stand in the input
    std::string reason;            // why, in UTF-8 plain words (may be empty)
    std::string textUtf8;          // how to show `text` when it is a file name as the file system spells it
};

// Something worth a word that does not stop anything: where, and what.
struct Warning {
    size_t offset;     // into the input
    std::string text;  // UTF-8 plain words
};

inline Problem problem(MessageId id, std::string text = {}, std::vector<int64_t> numbers = {}, size_t offset = 0) {
    return Problem{id, std::move(text), std::move(numbers), offset, {}, {}};
}

// Input that is not what it should be, and why: "%sが読み込めません" once the
// caller has named the file.
inline Problem cannotRead(std::string reason, size_t offset = 0) {
    Problem p = problem(MessageId::CannotRead, {}, {}, offset);
    p.reason = std::move(reason);
    return p;
}

// A value or the problem that prevented it.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) {}
    Result(Problem p) : v_(std::move(p)) {}

    bool ok() const { return v_.index() == 0; }
    bool has_value() const { return ok(); }
    explicit operator bool() const { return ok(); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& value() {
        if (!ok()) throw std::logic_error("Result holds a problem");
        return std::get<0>(v_);
    }
    const T& value() const {
        if (!ok()) throw std::logic_error("Result holds a problem");
        return std::get<0>(v_);
    }
    const Problem& problem() const {
        if (ok()) throw std::logic_error("Result holds a value");
        return std::get<1>(v_);
    }
    Problem& problem() {
        if (ok()) throw std::logic_error("Result holds a value");
        return std::get<1>(v_);
    }

private:
    std::variant<T, Problem> v_;
};

// Success without a value, or a problem.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Problem p) : p_(std::move(p)) {}

    bool ok() const { return !p_; }
    explicit operator bool() const { return ok(); }
    const Problem& problem() const {
        if (!p_) throw std::logic_error("Result holds no problem");
        return *p_;
    }
    Problem& problem() {
        if (!p_) throw std::logic_error("Result holds no problem");
        return *p_;
    }

private:
    std::optional<Problem> p_;
};

using Status = Result<void>;

}  // namespace velk
