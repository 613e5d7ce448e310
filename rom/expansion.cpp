#include "rom/expansion.h"

#include "rom/checksum.h"
#include "rom/rom_identity.h"
#include "rom/rom_image.h"
#include "rom/rom_map.h"

#include <bit>
#include <cstdio>

namespace velmor::rom {

namespace {

constexpr std::size_t Megabit = 0x20000;
constexpr std::size_t SizeByteBase = 1024;

} // namespace

bool isExpansionSize(int megabits)
{
    return megabits == 8 || megabits == 16 || megabits == 32;
}

ExpandOutcome expandRom(codec::ByteView file, int megabits)
{
    ExpandOutcome outcome;
    if (!isExpansionSize(megabits)) {
        outcome.message = "a ROM is expanded to 8, 16 or 32 Mbit, not " + std::to_string(megabits);
        return outcome;
    }
    const RomIdentity identity = identifyRom(file);
    if (const std::string refusal = usWriteRefusal(identity); !refusal.empty()) {
        outcome.message = refusal;
        return outcome;
    }
    const std::size_t target = std::size_t(megabits) * Megabit;
    if (identity.gameSize >= target) {
        outcome.message = "the ROM is already " + megabitText(identity.gameSize)
            + "; expanding makes it larger, so choose more than that";
        return outcome;
    }
    const std::size_t gameStart = identity.copierHeader ? CopierHeaderSize : 0;
    outcome.rom.reserve(gameStart + target);
    outcome.rom.assign(file.begin(), file.end());
    outcome.rom.resize(gameStart + target, added::Padding);
    outcome.rom[gameStart + header::RomSize] =
        std::uint8_t(std::countr_zero(target / SizeByteBase));
    fixChecksum(outcome.rom, gameStart);
    outcome.ok = true;
    char lastBank[16];
    std::snprintf(lastBank, sizeof lastBank, "%02X", unsigned(0xC0 | ((target - 1) >> 16)));
    outcome.message = "expanded from " + megabitText(identity.gameSize) + " to "
        + megabitText(target) + ": " + std::to_string(target - identity.gameSize)
        + " bytes of room in the banks $C8-$" + lastBank;
    return outcome;
}

} // namespace velmor::rom
