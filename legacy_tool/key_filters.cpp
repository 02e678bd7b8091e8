#include "legacy_tool/key_filters.h"

namespace vk::legacy {

namespace {

bool IsDigit(char32_t k) {
    return k >= '0' && k <= '9';
}

bool Holds(const std::string& text, char c) {
    return text.find(c) != std::string::npos;
}

} // namespace

bool KeyAccepted(KeyFilter filter, char32_t key, const std::string& text) {
    if (filter == KeyFilter::NoKeys)
        return false;
    if (key == kKeyBackspace || key == kKeyEnter || IsDigit(key))
        return true;
    switch (filter) {
    case KeyFilter::SerialText:
        return key >= 'A' && key <= 'Z';
    case KeyFilter::Signed:
        return (key == '.' && !Holds(text, '.')) || (key == '-' && !Holds(text, '-'));
    case KeyFilter::Unsigned:
        return key == '.' && !Holds(text, '.');
    case KeyFilter::AccessCode:
        return (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z') || key == '_';
    case KeyFilter::Digits:
    case KeyFilter::NoKeys:
        break;
    }
    return false;
}

} // namespace vk::legacy
