// The English texts built into the program; language files overwrite them entry by entry.
#pragma once

#include <cstdint>
#include <span>

namespace res {

struct EnglishText
{
    int32_t number;
    const char16_t *text;
};

// Every numbered English text, in ascending number order.
std::span<const EnglishText> englishTexts();

} // namespace res
