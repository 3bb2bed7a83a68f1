// sounds.h: the two sounds, as unsigned 8-bit mono samples (128 is silence).
#ifndef RESGEN_SOUNDS_H
#define RESGEN_SOUNDS_H

#include <cstdint>
#include <vector>

namespace resgen {

constexpr std::uint32_t STRIKE_RATE = 22050;
constexpr std::uint32_t KNOCKOUT_RATE = 8000;

std::vector<std::uint8_t> StrikeSamples();    // 687 samples: the short high tick
std::vector<std::uint8_t> KnockoutSamples();  // 1942 samples: the noisy low thud

}  // namespace resgen

#endif
