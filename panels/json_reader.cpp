#include "panels/json_reader.h"

#include "panels/json_text.h"

#include <cstdint>
#include <unordered_set>

namespace vk {

const JsonValue* JsonValue::Find(std::string_view key) const {
    if (kind != Kind::Object)
        return nullptr;
    for (std::size_t i = 0; i < keys.size() && i < items.size(); ++i)
        if (keys[i] == key)
            return &items[i];
    return nullptr;
}

namespace {

// The bytes of the character starting at text[at] when they are valid UTF-8 (shortest
// form, no surrogate, at most U+10FFFF); 0 otherwise.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length;
    std::uint32_t code;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0u) != 0x80u)
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3Fu);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class Parser {
public:
    Parser(std::string_view text, const JsonLimits& limits) : text_(text), limits_(limits) {}

    JsonParse Run() {
        JsonParse result;
        if (text_.size() > limits_.maxBytes) {
            result.error = "larger than " + std::to_string(limits_.maxBytes) + " bytes";
            return result;
        }
        JsonValue value;
        SkipSpace();
        if (Value(value, 0)) {
            SkipSpace();
            if (at_ < text_.size())
                Fail("more after the end of the document");
        }
        if (!error_.empty()) {
            result.error = error_ + " at byte " + std::to_string(errorAt_);
            return result;
        }
        result.value = std::move(value);
        return result;
    }

private:
    bool Fail(const std::string& what) {
        if (error_.empty()) {
            error_ = what;
            errorAt_ = at_;
        }
        return false;
    }

    // A document cut short fails where something was still expected: say that rather
    // than what was missing.
    bool Missing(const std::string& what) {
        return Fail(at_ >= text_.size() ? "the document ends too early" : what);
    }

    void SkipSpace() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }

    // Steps over `c` (and the white space after it) when it comes next.
    bool Take(char c) {
        if (at_ >= text_.size() || text_[at_] != c)
            return false;
        ++at_;
        SkipSpace();
        return true;
    }

    // After a member or an item: true with `more` set after a comma, true with `more`
    // cleared after `close`, false (failed) otherwise.
    bool Next(char close, bool& more, const char* where) {
        SkipSpace();
        more = Take(',');
        if (more || Take(close))
            return true;
        return Missing(std::string("',' or '") + close + "' missing in " + where);
    }

    bool Literal(std::string_view word) {
        if (text_.substr(at_, word.size()) != word)
            return Fail("not a JSON value");
        at_ += word.size();
        return true;
    }

    bool Value(JsonValue& out, int depth) {
        if (++values_ > limits_.maxValues)
            return Fail("more than " + std::to_string(limits_.maxValues) + " values");
        if (at_ >= text_.size())
            return Fail("the document ends too early");
        switch (text_[at_]) {
        case '{':
            return Object(out, depth + 1);
        case '[':
            return Array(out, depth + 1);
        case '"':
            out.kind = JsonValue::Kind::String;
            return String(out.text);
        case 't':
            out.kind = JsonValue::Kind::Bool;
            out.boolean = true;
            return Literal("true");
        case 'f':
            out.kind = JsonValue::Kind::Bool;
            return Literal("false");
        case 'n':
            return Literal("null");
        default:
            out.kind = JsonValue::Kind::Number;
            return Number(out.text);
        }
    }

    bool Enter(int depth) {
        if (depth > limits_.maxDepth)
            return Fail("nested deeper than " + std::to_string(limits_.maxDepth) + " levels");
        ++at_;
        SkipSpace();
        return true;
    }

    bool Object(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Object;
        if (!Enter(depth))
            return false;
        if (Take('}'))
            return true;
        // Looking each key up among those before it would make a wide object cost the
        // square of its members.
        std::unordered_set<std::string> seen;
        for (bool more = true; more;) {
            if (at_ >= text_.size() || text_[at_] != '"')
                return Missing("an object's key must be a string");
            const std::size_t keyAt = at_;
            std::string key;
            if (!String(key))
                return false;
            if (!seen.insert(key).second) {
                at_ = keyAt;
                return Fail("the key " + JsonString(key) + " appears twice");
            }
            SkipSpace();
            if (at_ >= text_.size() || text_[at_] != ':')
                return Missing("':' missing after a key");
            ++at_;
            SkipSpace();
            out.keys.push_back(std::move(key));
            out.items.emplace_back();
            if (!Value(out.items.back(), depth) || !Next('}', more, "an object"))
                return false;
        }
        return true;
    }

    bool Array(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Array;
        if (!Enter(depth))
            return false;
        if (Take(']'))
            return true;
        for (bool more = true; more;) {
            out.items.emplace_back();
            if (!Value(out.items.back(), depth) || !Next(']', more, "an array"))
                return false;
        }
        return true;
    }

    bool Hex4(std::uint32_t& code) {
        if (at_ + 4 > text_.size())
            return Fail("a \\u escape needs four hex digits");
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            code <<= 4;
            if (c >= '0' && c <= '9')
                code |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                code |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                code |= static_cast<std::uint32_t>(c - 'A' + 10);
            else
                return Fail("a \\u escape needs four hex digits");
        }
        return true;
    }

    bool Escape(std::string& out) {
        if (at_ >= text_.size())
            return Fail("a string is not closed");
        const char c = text_[at_++];
        switch (c) {
        case '"':
        case '\\':
        case '/':
            out += c;
            return true;
        case 'b':
            out += '\b';
            return true;
        case 'f':
            out += '\f';
            return true;
        case 'n':
            out += '\n';
            return true;
        case 'r':
            out += '\r';
            return true;
        case 't':
            out += '\t';
            return true;
        case 'u':
            break;
        default:
            --at_;
            return Fail("an unknown escape in a string");
        }
        std::uint32_t code;
        if (!Hex4(code))
            return false;
        if (code >= 0xDC00 && code <= 0xDFFF)
            return Fail("a lone low surrogate in a string");
        if (code >= 0xD800 && code <= 0xDBFF) {
            std::uint32_t low;
            if (text_.substr(at_, 2) != "\\u")
                return Fail("a high surrogate without its low half");
            at_ += 2;
            if (!Hex4(low))
                return false;
            if (low < 0xDC00 || low > 0xDFFF)
                return Fail("a high surrogate without its low half");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        if (code == 0)
            return Fail("a NUL character in a string");
        AppendUtf8(out, code);
        return true;
    }

    bool String(std::string& out) {
        ++at_; // the opening quote
        for (;;) {
            if (out.size() > limits_.maxString)
                return Fail("a string longer than " + std::to_string(limits_.maxString) + " bytes");
            if (at_ >= text_.size())
                return Fail("a string is not closed");
            const auto c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c == '\\') {
                ++at_;
                if (!Escape(out))
                    return false;
                continue;
            }
            if (c == 0)
                return Fail("a NUL byte");
            if (c < 0x20)
                return Fail("a control character in a string");
            const std::size_t length = Utf8Length(text_, at_);
            if (length == 0)
                return Fail("text that is not UTF-8");
            out.append(text_.substr(at_, length));
            at_ += length;
        }
    }

    bool Number(std::string& out) {
        const std::size_t start = at_;
        while (at_ < text_.size() && at_ - start <= limits_.maxNumber &&
               ((text_[at_] >= '0' && text_[at_] <= '9') || text_[at_] == '-' ||
                text_[at_] == '+' || text_[at_] == '.' || text_[at_] == 'e' || text_[at_] == 'E'))
            ++at_;
        if (at_ == start) {
            if (static_cast<unsigned char>(text_[at_]) == 0)
                return Fail("a NUL byte");
            return Fail("not a JSON value");
        }
        if (at_ - start > limits_.maxNumber) {
            at_ = start;
            return Fail("a number longer than " + std::to_string(limits_.maxNumber) +
                        " characters");
        }
        out = std::string(text_.substr(start, at_ - start));
        if (!IsJsonNumber(out)) {
            at_ = start;
            return Fail("a malformed number");
        }
        return true;
    }

    std::string_view text_;
    const JsonLimits& limits_;
    std::size_t at_ = 0;
    std::size_t values_ = 0;
    std::string error_;
    std::size_t errorAt_ = 0;
};

} // namespace

JsonParse ParseJson(std::string_view text, const JsonLimits& limits) {
    return Parser(text, limits).Run();
}

std::optional<std::string> Latin1FromUtf8(std::string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8Length(text, at);
        if (length == 0 || length > 2)
            return std::nullopt;
        if (length == 1) {
            out += text[at];
        } else {
            const auto lead = static_cast<unsigned char>(text[at]);
            const auto tail = static_cast<unsigned char>(text[at + 1]);
            const unsigned code = ((lead & 0x1Fu) << 6) | (tail & 0x3Fu);
            if (code > 0xFF)
                return std::nullopt;
            out += static_cast<char>(code);
        }
        at += length;
    }
    return out;
}

} // namespace vk
