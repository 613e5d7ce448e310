#pragma once

#include "recomp/codec.h"

namespace velmor::test {

// Length of the shortest stream (end marker included) for data, found by trying every chunk the
// format has at every position: every command, both header forms, every length, every source.
// Exponential-free but slow (roughly n^4): meant for inputs of a few dozen bytes.
std::size_t bruteForceShortest(codec::ByteView data);

} // namespace velmor::test
