#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace krn310 {

// What the printer says about itself, as the service-information grid shows
// it: the identification texts in rows 0 to 3, the status lines from row 8 on.

inline constexpr int kModelNameRow = 0;
inline constexpr int kMakerNameRow = 1;
inline constexpr int kFirmwareVersionRow = 2;
inline constexpr int kSerialNumberRow = 3;
inline constexpr int kSet1Row = 4;
inline constexpr int kSet2Row = 5;
inline constexpr int kCurrentStateRow = 7;
// Status line k (counted from 1) of a status read lands in row k + 7.
inline constexpr int kStatusRowOffset = 7;

inline constexpr int kLabelColumn = 0;
inline constexpr int kValueColumn = 1;

// The text of a complete identification reply: the bytes between its header
// byte and its final 00, read as Windows-1251. A lone 00 has no text.
std::string IdentificationText(const uint8_t* reply, uint32_t length);

// The real-time status commands, by what they report.
enum class StatusKind {
    Printer,  // DLE EOT 1: cash drawer
    Offline,  // DLE EOT 2: cover and error
    Paper,    // DLE EOT 4: paper sensors
};

// One status line: the string-table ids of its label and value.
struct StatusLine {
    int labelId;
    int valueId;
};

struct StatusLines {
    std::array<StatusLine, 2> lines;
    int count;
};

// The lines a status byte gives; the bits not listed are not shown.
StatusLines DecodeStatus(StatusKind kind, uint8_t statusByte);

} // namespace krn310
