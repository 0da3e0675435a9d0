#pragma once

#include <string_view>

inline constexpr int kMessageCount = 157;
inline constexpr int kTranslatorInfoCount = 3;

// The built-in English text of a program message; empty for an id outside 0..146.
std::string_view DefaultMessage(int messageId);

// The built-in translator entry: 0 the translator's name, 1 the contact, 2 the date of the translation;
// empty for any other index.
std::string_view DefaultTranslatorInfo(int index);
