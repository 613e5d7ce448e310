#pragma once

#include "codec/codec.h"

#include <cstddef>
#include <optional>
#include <string>

// What a file of the game's ROM looks like from outside: its size, the copier header that many
// dumps carry in front of the game's bytes, and the two ways of counting offsets that follow.
namespace velmor::rom {

// The copier header: 512 bytes in front of the game's bytes.
inline constexpr std::size_t CopierHeaderSize = 0x200;
// A dump without the header is a whole number of these bytes; one with it is that plus the header.
inline constexpr std::size_t SizeGranule = 1024;
// The game's own ROM: 4 Mbit.
inline constexpr std::size_t GameSize = 0x80000;
// The largest ROM file read at all: 32 Mbit, the most a ROM of this game can be expanded to, with
// the copier header. A larger file is refused by its size on disk before a byte is read.
inline constexpr std::size_t MaxFileSize = 0x400000 + CopierHeaderSize;

enum class HeaderForm { Headerless, Headered };

// How a file of this size holds the game: nothing when the size is neither form.
std::optional<HeaderForm> headerFormOf(std::size_t fileSize);

// One line for a size that is no ROM size: what is wrong and what a ROM's size is.
std::string wrongSizeMessage(std::size_t fileSize);

// A ROM file's bytes with its header form. Offsets come in two kinds: file offsets count the
// header when there is one; game offsets (as the game's own pointers and the catalogue give them)
// never do. The course list shows file offsets of a headered ROM.
class RomImage
{
public:
    // Nothing when the size is no ROM size; *error then says why.
    static std::optional<RomImage> open(codec::ByteView file, std::string *error = nullptr);

    codec::ByteView file() const { return mFile; }
    HeaderForm form() const { return mForm; }
    bool hasHeader() const { return mForm == HeaderForm::Headered; }
    std::size_t headerSize() const { return hasHeader() ? CopierHeaderSize : 0; }
    // The game's bytes, the header left out.
    codec::ByteView game() const { return mFile.subspan(headerSize()); }

    std::size_t fileOffset(std::size_t gameOffset) const { return gameOffset + headerSize(); }
    // Nothing for a file offset inside the copier header.
    std::optional<std::size_t> gameOffset(std::size_t fileOffset) const;

private:
    RomImage(codec::ByteView file, HeaderForm form)
        : mFile(file)
        , mForm(form)
    { }

    codec::ByteView mFile;
    HeaderForm mForm;
};

// Course list offsets count the header; in a headerless file the same place lies this much earlier.
// Nothing for an offset inside the header, where the game keeps nothing.
inline std::optional<std::size_t> gameOffsetOfListed(std::size_t listedOffset)
{
    if (listedOffset < CopierHeaderSize)
        return std::nullopt;
    return listedOffset - CopierHeaderSize;
}
inline std::size_t listedOffsetOfGame(std::size_t gameOffset)
{
    return gameOffset + CopierHeaderSize;
}

// The copier-header rule for a place the course list names: in a file of this size it lies where
// listed when the file has the header, 0x200 bytes earlier when it has none. Nothing when the
// size is no ROM size, or the place would lie in the header or past the file's end.
inline std::optional<std::size_t> fileOffsetOfListed(std::size_t listedOffset, std::size_t fileSize)
{
    const std::optional<HeaderForm> form = headerFormOf(fileSize);
    const std::optional<std::size_t> game = gameOffsetOfListed(listedOffset);
    if (!form || !game)
        return std::nullopt;
    const std::size_t offset = *form == HeaderForm::Headered ? listedOffset : *game;
    if (offset >= fileSize)
        return std::nullopt;
    return offset;
}

} // namespace velmor::rom
