#pragma once
// What a settings button makes of its fields: the value(s) to send, or the warning the
// dialog shows instead of sending anything.

#include <optional>
#include <string>
#include <utility>

namespace vk {

template <typename T> struct Checked {
    std::optional<T> value; // set when the input is accepted
    std::string refusal;    // the warning text when it is not

    static Checked Accept(T accepted) { return Checked{std::move(accepted), {}}; }
    static Checked Refuse(std::string text) { return Checked{std::nullopt, std::move(text)}; }
    bool Accepted() const { return value.has_value(); }
};

} // namespace vk
