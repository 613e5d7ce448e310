#include "rom/hex_offset.h"

namespace velmor::rom {

namespace {

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<std::size_t> parseHexOffset(std::string_view text, int maxDigits)
{
    if (text.empty() || text.size() > std::size_t(maxDigits))
        return std::nullopt;
    std::size_t value = 0;
    for (const char c : text) {
        const int digit = digitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + std::size_t(digit);
    }
    return value;
}

std::string bareHex(std::size_t value, int digits)
{
    static const char symbols[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), symbols[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (int(text.size()) < digits)
        text.insert(0, std::size_t(digits) - text.size(), '0');
    return text;
}

std::string hexText(std::size_t value)
{
    return "0x" + bareHex(value);
}

} // namespace velmor::rom
