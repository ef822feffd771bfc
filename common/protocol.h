#pragma once

// Byte codes of the reader's serial protocol. A command is one byte (the attention string is
// four); replies have a length known in advance and no terminator.

namespace Reader {

constexpr char kPresence = 0x01;   // followed by kPresenceAsk
constexpr char kPresenceAsk = 'Y'; // reply 'Y' when present
constexpr char kPresenceYes = 'Y';
constexpr const char kAttention[] = "@OEM"; // wake-up and farewell
constexpr char kReady = 0x01;               // reply to kAttention: ready
constexpr char kSwitchedOff = 0x02;         // reply to kAttention: switched off

constexpr char kReadSheet = 0x22;    // reply: 0 = no paper, other = sheet taken in
constexpr char kSheetStatus = 0x2A;  // reply: status code
constexpr char kSendData = 0x2F;     // reply: the sheet's decoded characters
constexpr char kStartReading = 0x3A; // no reply
constexpr char kFormatBegin = 0x32;  // then the format text, then kFormatEnd
constexpr char kFormatEnd = char(0xA5);

constexpr char kReadCell = 0x08;  // + cell; reply two bytes
constexpr char kWriteCell = 0x07; // + cell, first, second; reply one byte
constexpr char kEyeRewind = 0x2E; // no reply
constexpr char kEyeNext = 0x20;   // reply one byte

constexpr char kTraySensor = 0x22; // sensor queries 0x22 .. 0x27, one byte each
constexpr char kEntrySensor = 0x23;
constexpr char kMiddleSensor = 0x24;
constexpr char kExitSensor = 0x25;
constexpr char kClearButton = 0x26;
constexpr char kButton2 = 0x27;

constexpr char kEject = 0x3C;
constexpr char kLevelRead = 0x37;    // + level byte, then kSendData
constexpr char kTimingAdjust = 0x1E; // reply one byte
constexpr char kCalibrate = 0x3B;

} // namespace Reader
