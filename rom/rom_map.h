#pragma once

#include <cstddef>

// Where the game keeps what the editor reads, as game offsets (a headered file holds each of them
// 0x200 bytes later). One place for every address of the game that the program knows.
namespace velmor::rom::map {

// Tables indexed by course ID.
inline constexpr std::size_t CourseLayoutPointers = 0x1EB5B; // 24 pointers of 3 bytes
inline constexpr std::size_t CourseThemes = 0x1EC2F; // 24 theme codes
// 20 course IDs: cup x 5 + round, for the Mushroom, Flower, Star and Special cups.
inline constexpr std::size_t CupOrder = 0x1EC1B;

// Tables indexed by theme (theme code / 2): 8 pointers of 3 bytes each.
inline constexpr std::size_t ThemeTilePointers = 0x1EBA3;
inline constexpr std::size_t ThemePalettePointers = 0x1EBBB;

// The tiles that every theme shares (map values 0xC0-0xFF): the game's code names this address
// itself rather than a table.
inline constexpr std::size_t CommonTiles = 0x40000;

// What each tile does to a kart: one compressed table, the common tiles' 64 values first, then
// each theme's 192 from its own start (8 words by theme code, counted in the decoded table).
inline constexpr std::size_t TileBehaviourTable = 0x7FDBA;
inline constexpr std::size_t TileBehaviourStarts = 0x1EB4B;
// The original table decodes to 0x373 bytes; a changed one may be longer, but not past this.
inline constexpr std::size_t TileBehaviourMaxBytes = 0x1000;

} // namespace velmor::rom::map

// The game's internal header (game offsets), read to know which ROM a file is.
namespace velmor::rom::header {

inline constexpr std::size_t Start = 0xFFC0;
inline constexpr std::size_t TitleLength = 21;
inline constexpr std::size_t MapMode = 0xFFD5;
inline constexpr std::size_t CartridgeType = 0xFFD6;
inline constexpr std::size_t RomSize = 0xFFD7; // the image is 1024 << this byte bytes
inline constexpr std::size_t RamSize = 0xFFD8;
inline constexpr std::size_t Destination = 0xFFD9;
inline constexpr std::size_t Licensee = 0xFFDA;
inline constexpr std::size_t Version = 0xFFDB;
inline constexpr std::size_t Complement = 0xFFDC; // 16 bits, low byte first
inline constexpr std::size_t Checksum = 0xFFDE; // 16 bits, low byte first
inline constexpr std::size_t End = 0xFFE0;

// What this game's header holds in every region.
inline constexpr char GameTitle[] = "SUPER MARIO KART     ";
inline constexpr unsigned char GameMapMode = 0x31; // HiROM, fast
inline constexpr unsigned char GameCartridgeType = 0x05; // DSP, RAM and battery
inline constexpr unsigned char GameRomSize = 0x09; // 4 Mbit
inline constexpr unsigned char DestinationJapan = 0x00;
inline constexpr unsigned char DestinationUsa = 0x01;
inline constexpr unsigned char DestinationEurope = 0x02;
// The clean US image's pair.
inline constexpr unsigned CleanUsChecksum = 0xEB44;
inline constexpr unsigned CleanUsComplement = 0x14BB;

} // namespace velmor::rom::header

// The banks an expanded image adds after the game's 4 Mbit ($C8-$FF), and the place where the
// editor keeps its table of the layouts it moved there (rom/added_room.h).
namespace velmor::rom::added {

inline constexpr std::size_t Start = 0x80000; // game offset of bank $C8
inline constexpr std::size_t BankSize = 0x10000; // a stream never crosses a bank's end
inline constexpr std::size_t TableOffset = Start; // $C8:0000
inline constexpr std::size_t TableSize = 0x100;
inline constexpr unsigned char Padding = 0xFF;
// The largest image: 32 Mbit.
inline constexpr std::size_t MaxGameSize = 0x400000;

} // namespace velmor::rom::added
