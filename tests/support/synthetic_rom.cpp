#include "tests/support/synthetic_rom.h"

#include "tests/support/synthetic_graphics.h"
#include "tests/support/synthetic_race.h"

#include "document/tile_text.h"
#include "rom/checksum.h"
#include "rom/rom_map.h"

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

codec::Bytes looseStream(const codec::Bytes &data)
{
    constexpr std::size_t Piece = 32;
    codec::Bytes stream;
    for (std::size_t i = 0; i < data.size(); i += Piece) {
        const std::size_t n = std::min(Piece, data.size() - i);
        stream.push_back(std::uint8_t(n - 1));
        stream.insert(stream.end(), data.begin() + std::ptrdiff_t(i),
                      data.begin() + std::ptrdiff_t(i + n));
    }
    stream.push_back(codec::EndMarker);
    return stream;
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

void GameRom::writePointer(std::size_t at, std::size_t target, BankForm banks)
{
    const std::size_t place = fileOffset(at);
    const auto address = std::uint16_t(target & 0xFFFF);
    const auto bankNumber = std::uint8_t(target >> 16);
    const bool upper = banks == BankForm::UpperWherePossible && address >= 0x8000;
    bytes[place] = std::uint8_t(address & 0xFF);
    bytes[place + 1] = std::uint8_t(address >> 8);
    bytes[place + 2] = std::uint8_t((upper ? 0x80 : 0xC0) | bankNumber);
}

codec::Bytes courseCells(int id)
{
    constexpr int Side = 128;
    codec::Bytes cells(Side * Side, 0x01);
    const int top = 4 + 3 * id;
    const int left = 100 - 2 * id;
    const int height = 3 + id % 5;
    const int width = 5 + id;
    for (int row = top; row < top + height; ++row) {
        for (int column = left; column < left + width && column < Side; ++column)
            cells[std::size_t(row * Side + column)] = std::uint8_t(0x10 + id);
    }
    // One lone cell, so each course has a copy group as well as fills.
    cells[std::size_t((top + height + 1) * Side + 2 + id)] = 0xC0 + std::uint8_t(id);
    return cells;
}

GameRom gameRom(const GameRomOptions &options)
{
    GameRom result;
    result.copierHeader = options.copierHeader;
    result.bytes = syntheticRom(options.seed, options.copierHeader);
    for (const rom::Course &course : rom::courses()) {
        const std::size_t id = std::size_t(course.id);
        result.writePointer(rom::map::CourseLayoutPointers + 3 * id, course.layoutOffset,
                            options.banks);
        result.bytes[result.fileOffset(rom::map::CourseThemes + id)] = std::uint8_t(course.theme);
        const codec::Bytes stream = codec::compress(trackStream(courseCells(course.id)));
        std::copy(stream.begin(), stream.end(),
                  result.bytes.begin() + std::ptrdiff_t(result.fileOffset(course.layoutOffset)));
        result.streamLength[id] = stream.size();
    }
    if (options.themeGraphics)
        writeThemeGraphics(result, options.banks);
    if (options.raceData)
        writeRaceData(result);
    if (options.region)
        writeGameHeader(result.bytes, options.copierHeader, *options.region);
    return result;
}

void writeGameHeader(codec::Bytes &rom, bool copierHeader, rom::Region region)
{
    namespace header = rom::header;
    const std::size_t start = copierHeader ? 0x200 : 0;
    std::copy_n(header::GameTitle, header::TitleLength,
        rom.begin() + std::ptrdiff_t(start + header::Start));
    rom[start + header::MapMode] = header::GameMapMode;
    rom[start + header::CartridgeType] = header::GameCartridgeType;
    rom[start + header::RomSize] = header::GameRomSize;
    rom[start + header::RamSize] = 0x01;
    std::uint8_t destination = 0x05;
    switch (region) {
    case rom::Region::UnitedStates:
        destination = header::DestinationUsa;
        break;
    case rom::Region::Japan:
        destination = header::DestinationJapan;
        break;
    case rom::Region::Europe:
        destination = header::DestinationEurope;
        break;
    case rom::Region::Other:
        break;
    }
    rom[start + header::Destination] = destination;
    rom[start + header::Licensee] = 0x01;
    rom[start + header::Version] = 0x00;
    rom::fixChecksum(rom, start);
}

} // namespace velmor::test
