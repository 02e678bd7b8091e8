#pragma once
// A strict reader of JSON documents that come from outside the program (sensor profiles).
// Everything about the input is bounded before it costs anything: its size, the depth of
// nesting, the length of strings and numbers and the number of members. Strings must be
// valid UTF-8 (raw control characters and NUL bytes are refused), numbers follow JSON's
// grammar and are kept as written, so "1.500" reads back as "1.500" and never passes
// through a double. The first problem ends the reading with a line that says what and
// where.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    // String: the text, UTF-8 with the escapes resolved; Number: the number as written.
    std::string text;
    std::vector<JsonValue> items;  // Array; Object: the members' values, in the file's order
    std::vector<std::string> keys; // Object: keys[i] names items[i]

    // The member called `key` of an object; null for another kind or a missing key.
    const JsonValue* Find(std::string_view key) const;
};

struct JsonLimits {
    std::size_t maxBytes = 1 << 20;
    int maxDepth = 16;
    std::size_t maxString = 4096; // bytes of one decoded string, a key included
    std::size_t maxNumber = 32;   // characters of one number
    std::size_t maxValues = 20000;
};

struct JsonParse {
    std::optional<JsonValue> value; // set when the whole text is one valid document
    std::string error;              // otherwise: "duplicate key \"mode\" at byte 312"
};

// Reads `text` as one JSON document (white space around it allowed, nothing else). An
// object that names a key twice is refused: which of the two was meant cannot be told.
JsonParse ParseJson(std::string_view text, const JsonLimits& limits = {});

// A UTF-8 text as Latin-1 bytes, the way the sensors' texts are kept; nothing when it
// holds a character beyond U+00FF.
std::optional<std::string> Latin1FromUtf8(std::string_view text);

} // namespace vk
