#pragma once

#include "codec/codec.h"

namespace velmor::test {

// Length of the shortest stream (end marker included) for data, found by trying every chunk the
// format has at every position: every command, both header forms, every length, every source.
// Exponential-free but slow (roughly n^4): meant for inputs of a few dozen bytes.
std::size_t bruteForceShortest(codec::ByteView data);

// The length of the shortest stream, end marker included, that a plain reference parse finds: at
// each position every command with its longest run found by comparing bytes against every source,
// then every length and both header forms. Quadratic; for inputs of a few thousand bytes.
std::size_t referenceShortest(codec::ByteView data);

} // namespace velmor::test
