#include "recomp/codec.h"
