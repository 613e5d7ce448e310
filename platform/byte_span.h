#pragma once

#include <QByteArray>

#include <cstdint>
#include <span>
#include <vector>

// Qt's bytes and the plain bytes of the formats (codec/, rom/, patch/), which know no Qt: one
// bridge, so that no caller spells the casts again.
namespace velmor {

// A view of the array's bytes; valid while the array lives unchanged.
inline std::span<const std::uint8_t> byteView(const QByteArray &bytes)
{
    return {reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size())};
}

inline QByteArray toByteArray(std::span<const std::uint8_t> bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

inline std::vector<std::uint8_t> toBytes(const QByteArray &bytes)
{
    const std::span<const std::uint8_t> view = byteView(bytes);
    return std::vector<std::uint8_t>(view.begin(), view.end());
}

} // namespace velmor
