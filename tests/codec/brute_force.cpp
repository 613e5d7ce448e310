#include "brute_force.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace velmor::test {

namespace {

using codec::ByteView;

// The chunk's output written out from the format's own definition, compared as it goes.
bool fillMatches(ByteView data, std::size_t at, std::size_t n, int command)
{
    for (std::size_t k = 0; k < n; ++k) {
        std::uint8_t expected = 0;
        switch (command) {
        case 1: expected = data[at]; break;
        case 2: expected = data[at + (k % 2)]; break;
        case 3: expected = std::uint8_t(data[at] + k); break;
        default: return false;
        }
        if (data[at + k] != expected)
            return false;
    }
    return true;
}

bool copyMatches(ByteView data, std::size_t at, std::size_t n, std::size_t source, bool invert)
{
    // The output so far equals data, and a byte-by-byte copy reads what it has just written.
    std::vector<std::uint8_t> out(data.begin(), data.begin() + std::ptrdiff_t(at));
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint8_t b = std::uint8_t(out[source + k] ^ (invert ? 0xFF : 0));
        if (b != data[at + k])
            return false;
        out.push_back(b);
    }
    return true;
}

} // namespace

std::size_t bruteForceShortest(ByteView data)
{
    const std::size_t n = data.size();
    constexpr std::size_t Unreachable = std::numeric_limits<std::size_t>::max() / 2;
    std::vector<std::size_t> best(n + 1, Unreachable);
    best[n] = 0;
    for (std::size_t i = n; i-- > 0;) {
        for (int command = 0; command <= 7; ++command) {
            for (int longForm = 0; longForm <= 1; ++longForm) {
                if (!longForm && command == 7)
                    continue;
                const std::size_t maxLen = !longForm ? 32 : (command == 7 ? 768 : 1024);
                const std::size_t header = longForm ? 2 : 1;
                for (std::size_t len = 1; len <= maxLen && i + len <= n; ++len) {
                    std::size_t size = Unreachable;
                    if (command == 0) {
                        size = header + len;
                    } else if (command <= 3) {
                        if (fillMatches(data, i, len, command))
                            size = header + (command == 2 ? 2 : 1);
                    } else if (command <= 5) {
                        for (std::size_t p = 0; p < i && size == Unreachable; ++p) {
                            if (copyMatches(data, i, len, p, command == 5))
                                size = header + 2;
                        }
                    } else {
                        for (std::size_t d = 1; d <= 255 && d <= i && size == Unreachable; ++d) {
                            if (copyMatches(data, i, len, i - d, command == 7))
                                size = header + 1;
                        }
                    }
                    if (size != Unreachable && size + best[i + len] < best[i])
                        best[i] = size + best[i + len];
                }
            }
        }
    }
    return best[0] + 1;
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
