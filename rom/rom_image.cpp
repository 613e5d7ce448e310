#include "rom/rom_image.h"

namespace velmor::rom {

std::optional<HeaderForm> headerFormOf(std::size_t fileSize)
{
    if (fileSize < SizeGranule)
        return std::nullopt;
    switch (fileSize % SizeGranule) {
    case 0:
        return HeaderForm::Headerless;
    case CopierHeaderSize:
        return HeaderForm::Headered;
    default:
        return std::nullopt;
    }
}

std::string wrongSizeMessage(std::size_t fileSize)
{
    return "a file of " + std::to_string(fileSize)
        + " bytes is no SNES ROM: a ROM is a whole "
          "number of "
        + std::to_string(SizeGranule) + " bytes, plus " + std::to_string(CopierHeaderSize)
        + " when it carries a copier header (the game's is " + std::to_string(GameSize) + " or "
        + std::to_string(GameSize + CopierHeaderSize) + " bytes)";
}

std::optional<RomImage> RomImage::open(codec::ByteView file, std::string *error)
{
    const std::optional<HeaderForm> form = headerFormOf(file.size());
    if (!form) {
        if (error)
            *error = wrongSizeMessage(file.size());
        return std::nullopt;
    }
    return RomImage(file, *form);
}

std::optional<std::size_t> RomImage::gameOffset(std::size_t fileOffset) const
{
    if (fileOffset < headerSize())
        return std::nullopt;
    return fileOffset - headerSize();
}

} // namespace velmor::rom
