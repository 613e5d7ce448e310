#pragma once

#include "codec/codec.h"

#include <string>

// Expand ROM: the US image grown to 8, 16 or 32 Mbit, so that courses larger than their slots
// have room in the added banks. Pure over bytes; the caller writes the result elsewhere, never
// over the original.
namespace velmor::rom {

struct ExpandOutcome
{
    bool ok = false;
    codec::Bytes rom; // the whole grown file, copier header kept
    std::string message; // the success line, or what was refused and why
};

// The sizes an image may be expanded to, in Mbit.
bool isExpansionSize(int megabits);

// Pads the game with 0xFF to `megabits`, sets the size byte and the checksum pair; every other
// byte stays as it was. Refuses anything but the US game, and a size that is not larger.
ExpandOutcome expandRom(codec::ByteView file, int megabits);

} // namespace velmor::rom
