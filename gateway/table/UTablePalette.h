// The colours of the table dialogs' columns, one per role, so that every dialog paints the same
// kind of column the same way.
#pragma once

#include "platform/ui/Colors.h"

namespace TablePalette {

// The Enable column.
inline constexpr TColor Enable = RGB(0xFF, 0xD8, 0xB0);
// What a row addresses: its name, station, type, register.
inline constexpr TColor Subject = RGB(0xE0, 0xFA, 0xFE);
// How the request runs or the value is sized: lengths, poll times, error limits.
inline constexpr TColor Detail = RGB(0xA8, 0xFF, 0xA8);
// Yes/no options of a row.
inline constexpr TColor Flag = RGB(0xFF, 0xFF, 0xA8);
// Where the value sits in the data image: position and start bit.
inline constexpr TColor Placement = RGB(0xFC, 0xD6, 0xF4);
// How the value is converted or bound: conversion, factor, byte order, topic.
inline constexpr TColor Conversion = RGB(0xD5, 0xD5, 0xFF);
// Free text: mnemonics and comments.
inline constexpr TColor Comment = clWhite;

} // namespace TablePalette
