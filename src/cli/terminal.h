#pragma once
// Whether a stream goes to a terminal, where a person watches it.

#include <cstdio>

namespace tunora {

bool isTerminal(std::FILE* stream);

}  // namespace tunora
