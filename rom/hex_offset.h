#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Offsets as the tools and the course list write them: hexadecimal digits without prefix or sign,
// either letter case ("68f2c", "5D6").
namespace velmor::rom {

// Nothing for an empty text, any character that is no ASCII hexadecimal digit, or more than
// maxDigits digits.
std::optional<std::size_t> parseHexOffset(std::string_view text, int maxDigits = 8);

// "0x68f2c": how the messages show an offset.
std::string hexText(std::size_t value);
// "68f2c": as the course list and the tools' command lines write one, at least `digits` long.
std::string bareHex(std::size_t value, int digits = 1);

} // namespace velmor::rom
