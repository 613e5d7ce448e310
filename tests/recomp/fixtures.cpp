#include "fixtures.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace velmor::test {

codec::Bytes bytesOf(const QByteArray &bytes)
{
    return codec::Bytes(bytes.begin(), bytes.end());
}

QByteArray toQByteArray(const codec::Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

codec::Bytes fromHex(const char *hex)
{
    return bytesOf(QByteArray::fromHex(QByteArray(hex)));
}

codec::Bytes randomBytes(std::mt19937 &rng, std::size_t size, int alphabet)
{
    std::uniform_int_distribution<int> pick(0, alphabet - 1);
    codec::Bytes bytes(size);
    for (auto &b : bytes)
        b = std::uint8_t(pick(rng));
    return bytes;
}

codec::Bytes trackStream(const codec::Bytes &cells)
{
    constexpr std::size_t FillMax = 32;
    constexpr std::size_t CopyMax = 16;
    codec::Bytes out;
    const std::size_t n = cells.size();
    std::size_t i = 0;
    while (i < n) {
        if (i + 1 < n && cells[i + 1] == cells[i]) {
            std::size_t run = 1;
            while (i + run < n && cells[i + run] == cells[i])
                ++run;
            for (std::size_t left = run; left > 0;) {
                const std::size_t take = std::min(left, FillMax);
                out.push_back(std::uint8_t(0x20 + take - 1));
                out.push_back(cells[i]);
                left -= take;
            }
            i += run;
            continue;
        }
        std::size_t j = i;
        while (j + 2 < n && cells[j + 1] != cells[j + 2] && j - i + 1 < CopyMax)
            ++j;
        out.push_back(std::uint8_t(j - i));
        out.insert(out.end(), cells.begin() + std::ptrdiff_t(i), cells.begin() + std::ptrdiff_t(j + 1));
        i = j + 1;
    }
    out.push_back(codec::EndMarker);
    return out;
}

codec::Bytes courseLikeCells(unsigned seed)
{
    constexpr int Side = 128;
    std::mt19937 rng(seed);
    codec::Bytes cells(Side * Side, 0x01); // grass
    const int inset = 10 + int(rng() % 10);
    const int width = 6 + int(rng() % 6);
    for (int row = 0; row < Side; ++row) {
        for (int col = 0; col < Side; ++col) {
            const int edge = std::min({row - inset, col - inset, Side - 1 - inset - row,
                                       Side - 1 - inset - col});
            if (edge >= 0 && edge < width)
                cells[std::size_t(row * Side + col)] = (edge == 0 || edge == width - 1) ? 0x5A : 0x40;
        }
    }
    const int items = 20 + int(rng() % 40);
    for (int k = 0; k < items; ++k)
        cells[rng() % cells.size()] = std::uint8_t(0x80 + rng() % 8);
    return cells;
}

codec::Bytes syntheticRom(unsigned seed, bool copierHeader)
{
    constexpr std::size_t RomSize = 524288;
    constexpr std::size_t HeaderSize = 512;
    std::mt19937 rng(seed);
    codec::Bytes rom = randomBytes(rng, RomSize + (copierHeader ? HeaderSize : 0));
    if (copierHeader)
        std::fill(rom.begin(), rom.begin() + HeaderSize, 0);
    return rom;
}

std::size_t referenceShortest(codec::ByteView data)
{
    const std::size_t n = data.size();
    std::vector<std::size_t> best(n + 1, std::numeric_limits<std::size_t>::max() / 2);
    best[n] = 0;
    // run[mask][p] = how far data[i..] matches data[p..] (XOR mask) byte by byte, for the
    // current i; row i follows from row i + 1 because both sides advance together.
    std::vector<std::size_t> run[2] = {std::vector<std::size_t>(n + 1, 0),
                                       std::vector<std::size_t>(n + 1, 0)};
    for (std::size_t i = n; i-- > 0;) {
        // Longest run per command, and operand bytes per command.
        std::size_t longest[8] = {std::min<std::size_t>(1024, n - i), 0, 0, 0, 0, 0, 0, 0};
        const std::size_t operand[8] = {0, 1, 2, 1, 2, 2, 1, 1};
        while (i + longest[1] < n && data[i + longest[1]] == data[i])
            ++longest[1];
        while (i + longest[2] < n && data[i + longest[2]] == data[i + longest[2] % 2])
            ++longest[2];
        while (i + longest[3] < n && data[i + longest[3]] == std::uint8_t(data[i] + longest[3]))
            ++longest[3];
        for (const std::uint8_t mask : {0x00, 0xFF}) {
            std::vector<std::size_t> &row = run[mask ? 1 : 0];
            // Going up in p reads row[p + 1] of the previous i before it is overwritten.
            for (std::size_t p = 0; p < i; ++p) {
                row[p] = data[i] == (data[p] ^ mask) ? std::min<std::size_t>(1024, row[p + 1] + 1) : 0;
                longest[mask ? 5 : 4] = std::max(longest[mask ? 5 : 4], row[p]);
                if (i - p <= 255)
                    longest[mask ? 7 : 6] = std::max(longest[mask ? 7 : 6], row[p]);
            }
        }
        for (int c = 0; c < 8; ++c) {
            const std::size_t longLimit = c == 7 ? 768 : 1024;
            for (std::size_t len = 1; len <= std::min(longest[c], longLimit); ++len) {
                const std::size_t body = c == 0 ? len : operand[c];
                if (c != 7 && len <= 32)
                    best[i] = std::min(best[i], 1 + body + best[i + len]);
                best[i] = std::min(best[i], 2 + body + best[i + len]);
            }
        }
    }
    return best[0] + 1;
}

} // namespace velmor::test
